// The curves of a measurement as the chart, the preview and px510tool take them.

#include "measurement/Curves.h"
#include "measurement/Measurement.h"

#include <gtest/gtest.h>

namespace {

// Five sampling lengths of 0.8 mm over four samples: 1 mm apart.
void smallMeasurement(TMeasurement &m)
{
    m.Conditions.Cutoff = 2;
    m.Conditions.SampleLengths = 4;
    m.SampleCount = 4;
    m.Profile[0] = 1;
    m.Profile[1] = -2;
    m.Profile[2] = 3;
    m.Profile[3] = -4;
    m.RoughnessCount = 2;
    m.RoughnessOrigin = 0.5;
    m.RoughnessProfile[0] = 0.25;
    m.RoughnessProfile[1] = -0.75;
    m.BearingLevels = 4;
    m.BearingCurve = {};
    m.BearingCurve[0] = 10;
    m.BearingCurve[1] = 40;
    m.BearingCurve[2] = 70;
    m.BearingCurve[3] = 100;
}

} // namespace

TEST(Curves, PointsAndUnitsOfEachCurve)
{
    TMeasurement m;
    smallMeasurement(m);
    const TMeasurementCurves c = CurvesOf(m);

    EXPECT_EQ(c.Profile.X, (QList<double>{0, 1, 2, 3}));
    EXPECT_EQ(c.Profile.Y, (QList<double>{1, -2, 3, -4}));
    // Roughness starts at its origin, with the profile's spacing.
    EXPECT_EQ(c.Roughness.X, (QList<double>{0.5, 1.5}));
    EXPECT_EQ(c.Roughness.Y, (QList<double>{0.25, -0.75}));
    // Ratio across, depth in percent of the levels, in level order.
    EXPECT_EQ(c.Bearing.X, (QList<double>{10, 40, 70, 100}));
    EXPECT_EQ(c.Bearing.Y, (QList<double>{0, 25, 50, 75}));

    for (const TCurve *curve : {&c.Profile, &c.Roughness}) {
        EXPECT_EQ(curve->XUnit, "mm");
        EXPECT_EQ(curve->YUnit, "μm");
    }
    EXPECT_EQ(c.Bearing.XUnit, "%");
    EXPECT_EQ(c.Bearing.YUnit, "%");

    m.UnitSystem = 1;
    const TMeasurementCurves imperial = CurvesOf(m);
    EXPECT_EQ(imperial.Profile.XUnit, "mil");
    EXPECT_EQ(imperial.Roughness.YUnit, "μin");
    EXPECT_EQ(imperial.Profile.X.last(), 3 * 40.0); // 0.8 mm is 32 mil
}

TEST(Curves, CountsOutsideTheArraysAreCut)
{
    TMeasurement m;
    smallMeasurement(m);
    m.SampleCount = 5000;
    m.RoughnessCount = -3;
    m.BearingLevels = 250;
    const TMeasurementCurves c = CurvesOf(m);
    EXPECT_EQ(c.Profile.size(), TMeasurement::MaxSamples);
    EXPECT_EQ(c.Profile.Y.size(), TMeasurement::MaxSamples);
    EXPECT_EQ(c.Roughness.size(), 0);
    EXPECT_EQ(c.Bearing.size(), 100);
    EXPECT_EQ(c.Bearing.Y.last(), 99);

    const TMeasurementCurves empty = CurvesOf(TMeasurement());
    EXPECT_EQ(empty.Profile.size(), 0);
    EXPECT_EQ(empty.Roughness.size(), 0);
}
