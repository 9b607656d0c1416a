// The sub-commands of px510tool, in the order the usage text lists them.

#include "Command.h"

int CommandInfo(const QStringList &args);
int CommandCurves(const QStringList &args);
int CommandResults(const QStringList &args);
int CommandFrame(const QStringList &args);
int CommandExport(const QStringList &args);
int CommandReport(const QStringList &args);
int CommandMeasure(const QStringList &args);

const ToolCommand ToolCommands[] = {
    {"info", "FILE", CommandInfo},
    {"curves", "FILE", CommandCurves},
    {"results", "FILE [--per-line N]", CommandResults},
    {"frame", "LETTER [HEXBYTE ...]", CommandFrame},
    {"export", "FILE --csv OUT", CommandExport},
    {"report", "FILE --pdf OUT [--view roughness|unfiltered|both|bearing] [--id ID --workname TEXT --operator TEXT]",
     CommandReport},
    {"measure", "--port PATH [--out FILE] [--fetch-only] [--wait SECONDS]", CommandMeasure},
    {nullptr, nullptr, nullptr},
};
