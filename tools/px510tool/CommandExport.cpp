// px510tool export FILE --csv OUT: the measurement as a spreadsheet-ready CSV.

#include "Command.h"

#include "files/FileBytes.h"
#include "link/ComToPX510Unit.h"

#include <cmath>
#include <string>

int CommandExport(const QStringList &arguments)
{
    QStringList args = arguments;
    QString out = Tool::takeOption(args, QStringLiteral("--csv"));
    if (out.isEmpty())
        throw UsageError("--csv OUT is required");
    Tool::expectArguments(args, 1);
    TComToPX510 s;
    s.LoadMeasurementFile(args.at(0));

    QString length, height;
    s.LengthUnitText(length);
    s.HeightUnitText(height);
    // A byte-order mark lets spreadsheets read "μ" as UTF-8; CRLF as RFC 4180 has it.
    std::string csv = "\xEF\xBB\xBF";
    csv += QStringLiteral("x (%1),profile (%2),roughness (%2)\r\n").arg(length, height).toStdString();
    const double spacing = s.SampleSpacing();
    // Roughness point j lies at the abscissa of profile point j + originSteps.
    const long originSteps = spacing > 0 ? std::lround(s.RoughnessOrigin / spacing) : 0;
    for (int i = 0; i < s.SampleCount; ++i) {
        csv += Tool::number(i * spacing) + ',' + Tool::number(s.Profile[i]) + ',';
        long j = i - originSteps;
        if (j >= 0 && j < s.RoughnessCount)
            csv += Tool::number(s.RoughnessProfile[j]);
        csv += "\r\n";
    }
    FileBytes::writeAtomically(out, QByteArray::fromStdString(csv));
    return 0;
}
