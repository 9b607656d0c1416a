#include "ui/placeholders/PlaceholderWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TPlaceholderWindow::TPlaceholderWindow(const QString &name, const QString &caption, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("此功能尚未提供。"), this));
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(320, 120);
}
