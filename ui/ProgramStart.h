#pragma once
// Start-up of both programs: the session first, then the application title,
// then the windows in their fixed order, all hidden but the main window, and
// the hooks through which they reach each other.

#include "common/Edition.h"
#include "link/ComToPX510Unit.h"

#include <QStringList>
#include <memory>

class Dialogs;
class QtDialogs;
class TForm1;
class TForm2;
class TForm3;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;

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
    // Children of the main window (so they centre on it), created after it in
    // this order and deleted in the reverse order before it.
    TForm2 *Form2 = nullptr; // stylus position
    TForm3 *Form3 = nullptr; // data manager
    TForm5 *Form5 = nullptr; // settings
    TForm6 *Form6 = nullptr; // report preview
    TForm7 *Form7 = nullptr; // progress
    TForm8 *Form8 = nullptr; // record information
    TForm9 *Form9 = nullptr; // about
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
