#include "ui/ProgramStart.h"

#include "database/dbinformfm.h"
#include "database/dbmangagefm.h"
#include "link/HintFm.h"
#include "link/PickUpFm.h"
#include "report/PrintPreviewFM.h"
#include "report/RecordHeader.h"
#include "ui/ParaConfigFm.h"
#include "ui/ProgramPaths.h"
#include "ui/QtDialogs.h"
#include "ui/ToolIcons.h"
#include "ui/aboutunit.h"
#include "ui/main.h"

#include <QApplication>

Dialogs &TProgram::ChooseDialogs(Dialogs *given, std::unique_ptr<QtDialogs> &own)
{
    if (given)
        return *given;
    own = std::make_unique<QtDialogs>();
    return *own;
}

// ComLink, a member declared first, exists before any window and outlives them.
TProgram::TProgram(Edition edition, Dialogs *dialogs) : Dlg(ChooseDialogs(dialogs, OwnDialogs))
{
    QCoreApplication::setApplicationName(TForm1::ApplicationTitle(edition));
    CreateWindows(edition);
    WireWindows();
}

TProgram::~TProgram()
{
    // The later windows lean on the earlier ones (the record dialog on the
    // data manager, the report on the main chart): they go first.
    delete Form9;
    delete Form8;
    delete Form7;
    delete Form6;
    delete Form5;
    delete Form3;
    delete Form2;
}

void TProgram::CreateWindows(Edition edition)
{
    // Windows created after the main window rely on its AppDir; the data
    // manager opens the database while it is created.
    Form1 = std::make_unique<TForm1>(ComLink, Dlg, edition);
    TForm1 *main = Form1.get();
    if (OwnDialogs)
        OwnDialogs->SetParent(main);
    auto created = [this](QWidget *window, const char *name) {
        window->setObjectName(QString::fromLatin1(name));
        window->hide();
        CreationOrder << QString::fromLatin1(name);
    };
    created(main, "TForm1");
    created(Form2 = new TForm2(ComLink, Dlg, main), "TForm2");
    created(Form3 = new TForm3(ComLink, Dlg, edition, main->AppDir, main), "TForm3");
    created(Form5 = new TForm5(ComLink, Dlg, main), "TForm5");
    created(Form6 = new TForm6(ComLink, Dlg, main), "TForm6");
    created(Form7 = new TForm7(ComLink, Dlg, main), "TForm7");
    created(Form8 = new TForm8(*Form3, ComLink, Dlg, edition, main), "TForm8");
    created(Form9 = new TForm9(edition, TForm1::MakerWebAddress, main), "TForm9");
}

void TProgram::WireWindows()
{
    TForm1 *main = Form1.get();
    auto show = [main] { main->ShowMeasurement(); };
    auto status = [main] { main->UpdateStatusBar(); };

    TMainWindowHooks &hooks = main->Hooks;
    hooks.ShowStylusWindow = [this] { Form2->ShowStylusPosition(); };
    hooks.ShowDataManager = [this] { Form3->exec(); };
    hooks.ShowSettings = [this] { Form5->exec(); };
    hooks.ShowReport = [this, main] { Form6->ShowPreview(main->RoungnessChart1); };
    hooks.ShowSaveRecord = [this] { Form8->OpenForSave(); };
    hooks.StartProgressWatch = [this] { Form7->StartWatching(); };
    hooks.ShowAbout = [this] {
        Form9->show();
        Form9->raise();
    };

    Form3->ShowMeasurement = show;
    Form5->Hooks.UpdateStatusBar = status;
    Form5->Hooks.ShowMeasurement = show;
    Form9->BrowseVantrel = [main] { main->BrowseVantrel->trigger(); };

    Form6->Sources.CurrentRecord = [this] { return ReportHeaderOf(Form3->Data(), ComLink); };
    Form6->Sources.StatusPanels = [main] { return main->ReportStatusPanels(); };
    Form6->Sources.BearingLevels = [main] { return main->ReportLevels(); };
    Form6->SetToolIcons(DrawToolIcon(ToolIcon::PrintPreview), DrawToolIcon(ToolIcon::Enlarge),
                        DrawToolIcon(ToolIcon::Reduce));
}

int TProgram::Run()
{
    Form1->showMaximized();
    return QApplication::exec();
}

int RunProgram(int argc, char **argv, Edition edition)
{
    QApplication application(argc, argv);
    if (PathsRequested(QApplication::arguments()))
        return PrintProgramPaths(edition);
    TProgram program(edition);
    return program.Run();
}
