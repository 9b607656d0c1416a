#include "Command.h"

#include <charconv>
#include <cstdio>

namespace Tool {

std::string number(double value)
{
    char buffer[40];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
    return std::string(buffer, result.ptr);
}

void print(const std::string &text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout); // progress lines are seen as they come, also through a pipe
}

void print(const QString &text)
{
    print(text.toStdString());
}

QString takeOption(QStringList &args, const QString &option, const QString &fallback)
{
    qsizetype at = args.indexOf(option);
    if (at < 0)
        return fallback;
    if (at + 1 >= args.size())
        throw UsageError(option.toStdString() + " needs a value");
    QString value = args.at(at + 1);
    args.remove(at, 2);
    return value;
}

void expectArguments(const QStringList &args, int count)
{
    if (args.size() != count)
        throw UsageError("expected " + std::to_string(count) + " argument(s), got " + std::to_string(args.size()));
}

} // namespace Tool
