#pragma once
// The program's dialogs: message boxes, the one-line input dialog and the
// file dialogs of Qt behind the Dialogs interface.

#include "common/Dialogs.h"

class QWidget;

class QtDialogs : public Dialogs {
public:
    // Boxes are centred on `parent` when one is set.
    void SetParent(QWidget *parent) { Parent = parent; }

    bool AskYesNo(const QString &title, const QString &text) override;
    void Warn(const QString &title, const QString &text) override;
    void Inform(const QString &title, const QString &text) override;
    std::optional<QString> InputLine(const QString &title, const QString &label,
                                     const QString &initial) override;
    std::optional<QString> OpenFileName(const QString &title, const QString &filter) override;
    std::optional<QString> SaveFileName(const QString &title, const QString &filter) override;

private:
    QWidget *Parent = nullptr;
};
