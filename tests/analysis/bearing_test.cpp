#include "measurement/Measurement.h"

#include <gtest/gtest.h>

namespace {

// A session whose roughness profile is `count` points from `height`.
template <typename F>
void setRoughness(TMeasurement &s, int count, F height)
{
    s.RoughnessCount = count;
    for (int i = 0; i < count; ++i)
        s.RoughnessProfile[i] = height(i);
    s.BuildBearingCurve();
}

} // namespace

TEST(BearingCurve, AllEqualPointsGiveAFullCurveAndNoStep)
{
    TMeasurement s;
    setRoughness(s, 2500, [](int) { return 0.5; });
    for (double entry : s.BearingCurve)
        ASSERT_EQ(entry, 100);
    EXPECT_EQ(s.BearingLevelStep, 0);
}

TEST(BearingCurve, SingleHighestPointAndMonotoneEntries)
{
    TMeasurement s;
    setRoughness(s, 2500, [](int i) { return i == 1234 ? 10.0 : (i % 50) * 0.1; });
    EXPECT_DOUBLE_EQ(s.BearingCurve[0], 0.04);
    EXPECT_DOUBLE_EQ(s.BearingLevelStep, 0.1);
    for (int i = 1; i < 100; ++i)
        EXPECT_GE(s.BearingCurve[i], s.BearingCurve[i - 1]);
    double minimum = -1, maximum = -1;
    s.GetProfileMinMax(minimum, maximum);
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, 10);
}

TEST(BearingCurve, EmptyRoughnessProfileGivesZeros)
{
    TMeasurement s;
    setRoughness(s, 2500, [](int i) { return i * 0.01; }); // something to overwrite
    for (int count : {0, -200}) {
        setRoughness(s, count, [](int) { return 0.0; });
        for (double entry : s.BearingCurve)
            ASSERT_EQ(entry, 0);
        EXPECT_EQ(s.BearingLevelStep, 0);
        double minimum = -1, maximum = -1;
        s.GetProfileMinMax(minimum, maximum);
        EXPECT_EQ(minimum, 0);
        EXPECT_EQ(maximum, 0);
    }
}

TEST(BearingCurve, RatioAtDepthInterpolatesAndStaysWithinPercent)
{
    TMeasurement s;
    for (int i = 0; i < 100; ++i)
        s.BearingCurve[i] = i * 0.9 + (i % 3);
    const struct {
        double depth, ratio;
    } cases[] = {
        {0, s.BearingCurve[0]},
        {5, s.BearingCurve[5]},
        {37.5, (s.BearingCurve[37] + s.BearingCurve[38]) / 2},
        {99, s.BearingCurve[99]},
        {99.5, (s.BearingCurve[99] + 100) / 2}, // continued to 100 % at the lowest point
        {100, 100},
        {250, 100},
        {-1000, 0}, // extrapolated, then held at 0
    };
    for (auto c : cases)
        EXPECT_DOUBLE_EQ(s.MaterialRatioAtDepth(c.depth), c.ratio) << "depth " << c.depth;
    EXPECT_EQ(s.MaterialRatioAtDepth(std::numeric_limits<double>::quiet_NaN()), 0);
}
