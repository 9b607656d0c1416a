#include "measurement/Curves.h"

#include "measurement/Measurement.h"

#include <algorithm>

namespace {

// A height curve of `count` points spaced `spacing` apart from `origin`.
template <size_t N>
void fillHeights(TCurve &curve, const std::array<double, N> &heights, int count, double origin, double spacing)
{
    const int n = std::clamp<int>(count, 0, static_cast<int>(N));
    curve.X.reserve(n);
    curve.Y.reserve(n);
    for (int i = 0; i < n; ++i) {
        curve.X << origin + i * spacing;
        curve.Y << heights[size_t(i)];
    }
}

} // namespace

TMeasurementCurves CurvesOf(const TMeasurement &measurement)
{
    TMeasurementCurves curves;
    QString length, height;
    measurement.LengthUnitText(length);
    measurement.HeightUnitText(height);
    const double spacing = measurement.SampleSpacing();

    fillHeights(curves.Profile, measurement.Profile, measurement.SampleCount, 0, spacing);
    fillHeights(curves.Roughness, measurement.RoughnessProfile, measurement.RoughnessCount, measurement.RoughnessOrigin,
                spacing);
    for (TCurve *curve : {&curves.Profile, &curves.Roughness}) {
        curve->XUnit = length;
        curve->YUnit = height;
    }

    TCurve &bearing = curves.Bearing;
    const int levels = std::clamp<int>(measurement.BearingLevels, 0, static_cast<int>(measurement.BearingCurve.size()));
    for (int i = 0; i < levels; ++i) {
        bearing.X << measurement.BearingCurve[size_t(i)];
        bearing.Y << i * 100.0 / levels;
    }
    bearing.XUnit = bearing.YUnit = QStringLiteral("%");
    return curves;
}
