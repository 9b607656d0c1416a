// px510tool: inspect and convert measurement files, build request frames.

#include "Command.h"

#include "common/Errors.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

void printUsage(std::FILE *to)
{
    std::fputs("usage: px510tool COMMAND [ARGUMENTS]\n\ncommands:\n", to);
    for (const ToolCommand *c = ToolCommands; c->name; ++c)
        std::fprintf(to, "  px510tool %s %s\n", c->name, c->usage);
    std::fputs("\nExit status: 0 success, 1 a file that cannot be used, 2 wrong usage.\n", to);
}

const ToolCommand *find(const QString &name)
{
    for (const ToolCommand *c = ToolCommands; c->name; ++c)
        if (name == QLatin1String(c->name))
            return c;
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    // The report draws the main window's chart, a widget: only that command
    // needs the widget toolkit, on no screen unless one is asked for.
    const bool drawing = argc > 1 && std::strcmp(argv[1], "report") == 0;
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app = drawing ? std::make_unique<QApplication>(argc, argv)
                                                    : std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const ToolCommand *command = find(args.first());
    if (!command) {
        std::fprintf(stderr, "px510tool: unknown command '%s'\n", qPrintable(args.first()));
        printUsage(stderr);
        return 2;
    }
    try {
        int status = command->run(args.mid(1));
        std::fflush(stdout);
        return status;
    } catch (const UsageError &e) {
        std::fprintf(stderr, "px510tool %s: %s\nusage: px510tool %s %s\n", command->name, e.what(), command->name,
                     command->usage);
        return 2;
    } catch (const PX510Error &e) {
        // The message may span lines; the contract is one line on stderr.
        QString line = e.message().simplified();
        std::fprintf(stderr, "px510tool: %s\n", line.toUtf8().constData());
        return 1;
    }
}
