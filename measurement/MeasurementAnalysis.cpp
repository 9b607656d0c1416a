// Decoding, filtering and the bearing-ratio curve of the current measurement.

#include "analysis/FilterUnit.h"
#include "common/Errors.h"
#include "measurement/Measurement.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The curve array has 100 entries; never index past it whatever the field says.
int levelCount(int32_t levels)
{
    return std::clamp(levels, 1, 100);
}

} // namespace

void TMeasurement::DecodeProfile()
{
    if (RawByteCount < 0 || RawByteCount > MaxRawBytes)
        throw RecordError(QStringLiteral("测量数据已损坏：数据字节数 %1 不在 0 到 6000 之间。").arg(RawByteCount));
    // 4096 counts are the range limit, in μm (or μin when imperial).
    const double range = RangeLimit() * 1000;
    SampleCount = RawByteCount / 2;
    for (int i = 0; i < SampleCount; ++i) {
        auto sample = static_cast<int16_t>(RawData[2 * i] | RawData[2 * i + 1] << 8);
        Profile[i] = sample / 4096.0 * range;
    }
    ApplyFilter();
    BuildBearingCurve();
}

void TMeasurement::ApplyFilter()
{
    struct FilterChoice {
        void (TFilter::*run)(const TProfileArray &, TProfileArray &, int) const;
        int originSteps;      // sampling steps before the first roughness point
        int minimumRoughness; // fewer roughness points than this give none
    };
    static constexpr FilterChoice Filters[] = {
        {&TFilter::RCFilter, 500, 1},
        {&TFilter::PhaseCorrectRCFilter, 250, 1},
        {&TFilter::GaussFilter, 250, 1},
        {&TFilter::LeastSquaresFilter, 0, 2}, // a line needs two points
    };
    if (Conditions.FilterCode >= std::size(Filters))
        return;
    const FilterChoice &choice = Filters[Conditions.FilterCode];
    const int n = std::clamp(SampleCount, 0, MaxSamples);
    (TFilter().*choice.run)(Profile, RoughnessProfile, n);
    RoughnessOrigin = choice.originSteps * SampleSpacing();
    const int points = n - FilterOrigin;
    RoughnessCount = points >= choice.minimumRoughness ? points : 0;
}

void TMeasurement::BuildBearingCurve()
{
    const int levels = levelCount(BearingLevels);
    TFilter filter;
    double maximum = 0, minimum = 0;
    filter.FindMinMax(maximum, minimum, RoughnessCount, RoughnessProfile);
    for (int i = 0; i < levels; ++i) {
        double level = maximum - (maximum - minimum) * i / levels;
        BearingCurve[i] = 100 * filter.MaterialRatioAt(RoughnessProfile, RoughnessCount, level);
    }
    BearingLevelStep = (maximum - minimum) / levels;
}

void TMeasurement::GetProfileMinMax(double &minimum, double &maximum) const
{
    minimum = 0;
    maximum = 0;
    TFilter().FindMinMax(maximum, minimum, RoughnessCount, RoughnessProfile);
}

double TMeasurement::MaterialRatioAtDepth(double c) const
{
    if (std::isnan(c))
        return 0;
    const int levels = levelCount(BearingLevels);
    const double d = 100.0 / levels;
    if (c >= 100)
        return 100;
    // The last entry is continued to 100 % at depth 100, the lowest point.
    double e = (levels - 1) * d, f = 100;
    double atE = BearingCurve[levels - 1], atF = 100;
    for (int i = 0; i <= levels - 2; ++i) {
        if ((i + 1) * d > c) {
            e = i * d;
            f = (i + 1) * d;
            atE = BearingCurve[i];
            atF = BearingCurve[i + 1];
            break;
        }
    }
    double ratio = (c - e) * atF / (f - e) + (c - f) * atE / (e - f);
    if (std::isnan(ratio)) // an infinite depth below the curve
        return 0;
    return std::clamp(ratio, 0.0, 100.0);
}
