#pragma once
// Questions, messages and file choices of the windows. The program shows
// message boxes; tests answer from a script, so no modal box ever blocks them.

#include <QString>
#include <optional>

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A question with Yes and No; true only for Yes.
    virtual bool AskYesNo(const QString &title, const QString &text) = 0;
    virtual void Warn(const QString &title, const QString &text) = 0;
    virtual void Inform(const QString &title, const QString &text) = 0;
    // One line of input; empty when the operator cancels.
    virtual std::optional<QString> InputLine(const QString &title, const QString &label, const QString &initial) = 0;
    // File choices; empty when the operator cancels.
    virtual std::optional<QString> OpenFileName(const QString &title, const QString &filter) = 0;
    virtual std::optional<QString> SaveFileName(const QString &title, const QString &filter) = 0;
};
