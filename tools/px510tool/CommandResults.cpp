// px510tool results FILE [--per-line N]: the result block of the record's standard.

#include "Command.h"

#include "common/NumberText.h"
#include "measurement/Measurement.h"

int CommandResults(const QStringList &arguments)
{
    QStringList args = arguments;
    QString perLineText = Tool::takeOption(args, QStringLiteral("--per-line"), QStringLiteral("6"));
    std::optional<int> perLine = NumberText::parseInt(perLineText);
    if (!perLine || *perLine < 1)
        throw UsageError("--per-line needs a whole number of at least 1, not '" + perLineText.toStdString() + "'");
    Tool::expectArguments(args, 1);
    TMeasurement s;
    s.LoadMeasurementFile(args.at(0));
    QString text;
    s.ResultsText(*perLine, text);
    Tool::print(text);
    return 0;
}
