#include "ui/UpDownButtons.h"

#include <QToolButton>
#include <QVBoxLayout>

TUpDownButtons::TUpDownButtons(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    UpButton = new QToolButton(this);
    DownButton = new QToolButton(this);
    UpButton->setArrowType(Qt::UpArrow);
    DownButton->setArrowType(Qt::DownArrow);
    for (QToolButton *button : {UpButton, DownButton}) {
        button->setFixedSize(17, 11);
        button->setAutoRepeat(true);
        layout->addWidget(button);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] { emit Clicked(true); });
    connect(DownButton, &QToolButton::clicked, this, [this] { emit Clicked(false); });
    setFixedSize(17, 22);
}
