#pragma once
// The program's dialogs: message boxes, the one-line input dialog and the
// file dialogs of Qt behind the Dialogs interface.

#include "common/Dialogs.h"

#include <memory>

class QMessageBox;
class QWidget;

class QtDialogs : public Dialogs {
public:
    // Boxes are centred on `parent` when one is set.
    void SetParent(QWidget *parent) { Parent = parent; }

    bool AskYesNo(const QString &title, const QString &text) override;
    void Warn(const QString &title, const QString &text) override;
    void Inform(const QString &title, const QString &text) override;
    std::optional<QString> InputLine(const QString &title, const QString &label, const QString &initial) override;
    std::optional<QString> OpenFileName(const QString &title, const QString &filter) override;
    std::optional<QString> SaveFileName(const QString &title, const QString &filter) override;

    // The message box of each call, built but not shown. Every question of
    // the program asks for a deletion or an overwrite: a warning icon, Yes
    // and No. A warning phrased as a question ("…，请重新命名？") is
    // acknowledged with a single Yes. A message confirms an outcome
    // ("配置成功！", "配置失败！"): the confirmation icon and OK.
    enum class Call { AskYesNo, Warn, Inform };
    static std::unique_ptr<QMessageBox> MakeBox(Call call, const QString &title, const QString &text,
                                                QWidget *parent = nullptr);

private:
    QWidget *Parent = nullptr;
};
