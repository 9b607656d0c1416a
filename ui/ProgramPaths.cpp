#include "ui/ProgramPaths.h"

#include "common/Dialogs.h"
#include "database/dbmangagefm.h"
#include "ui/ProgramStart.h"
#include "ui/main.h"

#include <QFileInfo>
#include <QUrl>

#include <cstdio>

namespace {

// Nobody is there to answer: questions get No, messages are printed.
class PrintedDialogs : public Dialogs {
public:
    bool AskYesNo(const QString &title, const QString &text) override
    {
        Print(title, text);
        return false;
    }
    void Warn(const QString &title, const QString &text) override { Print(title, text); }
    void Inform(const QString &title, const QString &text) override { Print(title, text); }
    std::optional<QString> InputLine(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> OpenFileName(const QString &, const QString &) override { return {}; }
    std::optional<QString> SaveFileName(const QString &, const QString &) override { return {}; }

private:
    static void Print(const QString &title, const QString &text)
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
    }
};

} // namespace

bool PathsRequested(const QStringList &arguments)
{
    return arguments.contains(QStringLiteral("--paths"));
}

int PrintProgramPaths(Edition edition)
{
    PrintedDialogs dialogs;
    TProgram program(edition, &dialogs);
    TForm1 &main = *program.Form1;

    // The help document is whatever the help command hands to the desktop.
    QString help;
    main.Hooks.OpenUrl = [&help](const QString &url) {
        help = QUrl(url).toLocalFile();
        return true;
    };
    main.UpdateActions();
    main.OpenHelp->trigger();

    const TDatabaseConnection &database = program.Form3->Data().Database();
    const QString none = QStringLiteral("(none)");
    std::printf("program folder: %s\n", qUtf8Printable(main.AppDir));
    std::printf("database: %s\n", qUtf8Printable(database.IsOpen() ? database.FileName() : none));
    std::printf("help: %s\n", qUtf8Printable(help.isEmpty() ? none : help));
    std::fflush(stdout);
    // The full edition hands its help file over only when the file is there.
    const bool helpFound = edition != Edition::Station || QFileInfo(help).isFile();
    return database.IsOpen() && helpFound ? 0 : 1;
}
