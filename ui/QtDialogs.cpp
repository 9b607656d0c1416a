#include "ui/QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

bool QtDialogs::AskYesNo(const QString &title, const QString &text)
{
    return QMessageBox::question(Parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

void QtDialogs::Warn(const QString &title, const QString &text)
{
    QMessageBox::warning(Parent, title, text, QMessageBox::Ok);
}

void QtDialogs::Inform(const QString &title, const QString &text)
{
    QMessageBox::information(Parent, title, text, QMessageBox::Ok);
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
