// px510tool export FILE --csv OUT: the measurement as a spreadsheet-ready CSV.

#include "Command.h"

#include "files/FileBytes.h"
#include "measurement/Curves.h"
#include "measurement/Measurement.h"

#include <cmath>
#include <string>

int CommandExport(const QStringList &arguments)
{
    QStringList args = arguments;
    QString out = Tool::takeOption(args, QStringLiteral("--csv"));
    if (out.isEmpty())
        throw UsageError("--csv OUT is required");
    Tool::expectArguments(args, 1);
    TMeasurement s;
    s.LoadMeasurementFile(args.at(0));

    const TMeasurementCurves curves = CurvesOf(s);
    const TCurve &profile = curves.Profile, &roughness = curves.Roughness;
    // A byte-order mark lets spreadsheets read "μ" as UTF-8; CRLF as RFC 4180 has it.
    std::string csv = "\xEF\xBB\xBF";
    csv += QStringLiteral("x (%1),profile (%2),roughness (%3)\r\n")
               .arg(profile.XUnit, profile.YUnit, roughness.YUnit)
               .toStdString();
    const double spacing = s.SampleSpacing();
    // Roughness point j lies at the abscissa of profile point j + originSteps.
    const long originSteps = spacing > 0 ? std::lround(s.RoughnessOrigin / spacing) : 0;
    for (qsizetype i = 0; i < profile.size(); ++i) {
        csv += Tool::number(profile.X[i]) + ',' + Tool::number(profile.Y[i]) + ',';
        const qsizetype j = i - originSteps;
        if (j >= 0 && j < roughness.size())
            csv += Tool::number(roughness.Y[j]);
        csv += "\r\n";
    }
    FileBytes::writeAtomically(out, QByteArray::fromStdString(csv));
    return 0;
}
