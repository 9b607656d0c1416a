// px510tool curves FILE: the points of the three charted curves as CSV.

#include "Command.h"

#include "link/ComToPX510Unit.h"

#include <string>

int CommandCurves(const QStringList &args)
{
    Tool::expectArguments(args, 1);
    TComToPX510 s;
    s.LoadMeasurementFile(args.at(0));

    const double spacing = s.SampleSpacing();
    std::string out = "series,index,x,y\n";
    auto row = [&out](const char *series, int index, double x, double y) {
        out += std::string(series) + ',' + std::to_string(index) + ',' + Tool::number(x) + ',' + Tool::number(y) + '\n';
    };
    for (int i = 0; i < s.SampleCount; ++i)
        row("profile", i, i * spacing, s.Profile[i]);
    for (int i = 0; i < s.RoughnessCount; ++i)
        row("roughness", i, s.RoughnessOrigin + i * spacing, s.RoughnessProfile[i]);
    // Material ratio along x, depth in percent along y, as the bearing view plots it.
    for (int i = 0; i < s.BearingLevels; ++i)
        row("bearing", i, s.BearingCurve[i], static_cast<double>(i) * 100 / s.BearingLevels);
    Tool::print(out);
    return 0;
}
