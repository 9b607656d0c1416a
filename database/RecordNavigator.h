#pragma once
// The record navigator of the data manager: first, prior, next, last,
// delete, post and cancel on the record list. Deleting asks first.

#include <QToolButton>
#include <QWidget>

#include <array>
#include <functional>

class Dialogs;
class TRecordView;

class TRecordNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Delete, Post, Cancel, ButtonCount };

    TRecordNavigator(TRecordView &view, Dialogs &dialogs, QWidget *parent = nullptr);
    QToolButton *button(Button which) const { return Buttons[which]; }
    // Enables the buttons that can act on the list as it is now.
    void UpdateButtons();

    // Runs before a button acts, so an editor can hand over what is typed.
    std::function<void()> BeforeAction;
    // Runs after cancel, so editors drop what is typed but not handed over.
    std::function<void()> AfterCancel;
    // Whether an editor holds typed text not yet handed over: post and cancel
    // are offered for it, as for a row in edit mode.
    std::function<bool()> HasTypedInput;

private:
    TRecordView &View;
    Dialogs &Messages;
    std::array<QToolButton *, ButtonCount> Buttons{};

    void Act(Button which);
};
