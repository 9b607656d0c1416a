// px510tool curves FILE: the points of the three charted curves as CSV.

#include "Command.h"

#include "measurement/Curves.h"
#include "measurement/Measurement.h"

#include <string>

int CommandCurves(const QStringList &args)
{
    Tool::expectArguments(args, 1);
    TMeasurement s;
    s.LoadMeasurementFile(args.at(0));

    std::string out = "series,index,x,y\n";
    auto rows = [&out](const char *series, const TCurve &curve) {
        for (qsizetype i = 0; i < curve.size(); ++i)
            out += std::string(series) + ',' + std::to_string(i) + ',' + Tool::number(curve.X[i]) + ','
                + Tool::number(curve.Y[i]) + '\n';
    };
    const TMeasurementCurves curves = CurvesOf(s);
    rows("profile", curves.Profile);
    rows("roughness", curves.Roughness);
    // Material ratio along x, depth in percent along y, as the bearing view plots it.
    rows("bearing", curves.Bearing);
    Tool::print(out);
    return 0;
}
