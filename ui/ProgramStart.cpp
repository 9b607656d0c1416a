#include "ui/ProgramStart.h"

#include "ui/QtDialogs.h"
#include "ui/main.h"
#include "ui/placeholders/PlaceholderWindow.h"

#include <QApplication>
#include <QDialog>

Dialogs &TProgram::ChooseDialogs(Dialogs *given, std::unique_ptr<QtDialogs> &own)
{
    if (given)
        return *given;
    own = std::make_unique<QtDialogs>();
    return *own;
}

// ComLink, a member declared first, exists before any window.
TProgram::TProgram(Edition edition, Dialogs *dialogs) : Dlg(ChooseDialogs(dialogs, OwnDialogs))
{
    QCoreApplication::setApplicationName(TForm1::ApplicationTitle(edition));
    CreateWindows(edition);
    WireWindows();
}

TProgram::~TProgram() = default;

void TProgram::CreateWindows(Edition edition)
{
    Form1 = std::make_unique<TForm1>(ComLink, Dlg, edition);
    if (OwnDialogs)
        OwnDialogs->SetParent(Form1.get());
    CreationOrder << QStringLiteral("TForm1");

    // Windows still to come stand in as placeholders until they are built.
    auto placeholder = [this](const char *name, const QString &caption) {
        auto *window = new TPlaceholderWindow(QString::fromLatin1(name), caption, Form1.get());
        window->hide();
        CreationOrder << QString::fromLatin1(name);
        return window;
    };
    Form2 = placeholder("TForm2", QStringLiteral("拾取针位示意图"));
    Form3 = placeholder("TForm3", QStringLiteral("数据管理窗口"));
    Form5 = placeholder("TForm5", QStringLiteral("参数设置"));
    Form6 = placeholder("TForm6", QStringLiteral("打印预览"));
    Form7 = placeholder("TForm7", QStringLiteral("提示对话框"));
    Form8 = placeholder("TForm8", QStringLiteral("数据基本信息"));
    Form9 = placeholder("TForm9", QStringLiteral("关于"));
}

void TProgram::WireWindows()
{
    TMainWindowHooks &hooks = Form1->Hooks;
    auto modal = [](QWidget *window) {
        return [window] {
            if (auto *dialog = qobject_cast<QDialog *>(window))
                dialog->exec();
        };
    };
    hooks.ShowStylusWindow = modal(Form2);
    hooks.ShowDataManager = modal(Form3);
    hooks.ShowSettings = modal(Form5);
    hooks.ShowReport = modal(Form6);
    hooks.ShowSaveRecord = modal(Form8);
    hooks.ShowAbout = [this] {
        Form9->show();
        Form9->raise();
    };
    // The progress window has no timer to start until it is built.
    hooks.StartProgressWatch = nullptr;
}

int TProgram::Run()
{
    Form1->showMaximized();
    return QApplication::exec();
}

int RunProgram(int argc, char **argv, Edition edition)
{
    QApplication application(argc, argv);
    TProgram program(edition);
    return program.Run();
}
