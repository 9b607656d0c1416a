#pragma once
// Start-up of both programs: the session first, then the application title,
// then the windows in their fixed order, all hidden but the main window.

#include "common/Edition.h"
#include "link/ComToPX510Unit.h"

#include <QStringList>
#include <memory>

class Dialogs;
class QWidget;
class QtDialogs;
class TForm1;

class TProgram {
public:
    // `dialogs` answers every question; the program's own message boxes when empty.
    explicit TProgram(Edition edition, Dialogs *dialogs = nullptr);
    ~TProgram();
    TProgram(const TProgram &) = delete;
    TProgram &operator=(const TProgram &) = delete;

    TComToPX510 ComLink;
    std::unique_ptr<QtDialogs> OwnDialogs;
    Dialogs &Dlg;
    std::unique_ptr<TForm1> Form1;
    // Owned by the main window, created after it in this order.
    QWidget *Form2 = nullptr; // stylus position
    QWidget *Form3 = nullptr; // data manager
    QWidget *Form5 = nullptr; // settings
    QWidget *Form6 = nullptr; // report preview
    QWidget *Form7 = nullptr; // progress
    QWidget *Form8 = nullptr; // record information
    QWidget *Form9 = nullptr; // about
    QStringList CreationOrder;

    // Shows the main window maximized and runs the event loop until it closes.
    int Run();

private:
    static Dialogs &ChooseDialogs(Dialogs *given, std::unique_ptr<QtDialogs> &own);
    void CreateWindows(Edition edition);
    void WireWindows();
};

// The whole program: application, start-up, event loop.
int RunProgram(int argc, char **argv, Edition edition);
