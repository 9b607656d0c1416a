#pragma once
// A sub-command of px510tool: a function over its arguments (the words after
// the sub-command's name) that writes to stdout and returns the exit code.
// Wrong usage throws UsageError (exit 2); a file that cannot be used throws
// one of the program's errors (exit 1, its message on one stderr line).

#include <QStringList>

#include <stdexcept>
#include <string>

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ToolCommand {
    const char *name;
    const char *usage; // arguments after the name, for the usage text
    int (*run)(const QStringList &args);
};

// The registered sub-commands, ended by an entry with a null name.
extern const ToolCommand ToolCommands[];

// Shared by the sub-commands.
namespace Tool {
// Shortest text that reads back exactly: printf's %.17g, whatever the locale.
std::string number(double value);
// Writes UTF-8 bytes to stdout.
void print(const QString &text);
void print(const std::string &text);
// The value after `option` in args (removing both), or `fallback` when absent.
QString takeOption(QStringList &args, const QString &option, const QString &fallback = {});
// Exactly `count` positional arguments, else UsageError.
void expectArguments(const QStringList &args, int count);
} // namespace Tool
