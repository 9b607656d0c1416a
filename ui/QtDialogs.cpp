#include "ui/QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

std::unique_ptr<QMessageBox> QtDialogs::MakeBox(Call call, const QString &title, const QString &text, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(title);
    box->setText(text);
    switch (call) {
    case Call::AskYesNo:
        box->setIcon(QMessageBox::Warning);
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::No);
        break;
    case Call::Warn: {
        box->setIcon(QMessageBox::Warning);
        const bool question = text.endsWith(QChar(0xFF1F)) || text.endsWith(QLatin1Char('?'));
        box->setStandardButtons(question ? QMessageBox::Yes : QMessageBox::Ok);
        break;
    }
    case Call::Inform:
        box->setIcon(QMessageBox::Question);
        box->setStandardButtons(QMessageBox::Ok);
        break;
    }
    return box;
}

bool QtDialogs::AskYesNo(const QString &title, const QString &text)
{
    return MakeBox(Call::AskYesNo, title, text, Parent)->exec() == QMessageBox::Yes;
}

void QtDialogs::Warn(const QString &title, const QString &text)
{
    MakeBox(Call::Warn, title, text, Parent)->exec();
}

void QtDialogs::Inform(const QString &title, const QString &text)
{
    MakeBox(Call::Inform, title, text, Parent)->exec();
}

std::optional<QString> QtDialogs::InputLine(const QString &title, const QString &label, const QString &initial)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(Parent, title, label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

std::optional<QString> QtDialogs::OpenFileName(const QString &title, const QString &filter)
{
    const QString name = QFileDialog::getOpenFileName(Parent, title, QString(), filter);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> QtDialogs::SaveFileName(const QString &title, const QString &filter)
{
    // An existing file is replaced without a question, as the program has
    // always done; the name rule of the caller may still change the name.
    const QString name = QFileDialog::getSaveFileName(Parent, title, QString(), filter, nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}
