#include "link/ComToPX510Unit.h"

#include <gtest/gtest.h>

TEST(Session, NewObjectHasTheBuiltInDefaults)
{
    TComToPX510 s;
    EXPECT_EQ(s.LinkState, 1);
    EXPECT_EQ(s.ErrorCode, -1);
    EXPECT_EQ(s.Conditions, (TConditions{2, 2, 4, 2, 0}));
    EXPECT_EQ(s.UnitSystem, 0);
    EXPECT_EQ(s.BearingLevels, 100);
    EXPECT_FALSE(s.HasData);
    EXPECT_FALSE(s.Busy);
    EXPECT_EQ(s.PortNo, 1);
    EXPECT_EQ(s.BaudCode, 12);
    EXPECT_EQ(s.ParityCode + s.DataBitsCode + s.StopBitsCode, 7);
    EXPECT_EQ(s.DtrState, 1);
    EXPECT_EQ(s.RtsState, 1);
    EXPECT_EQ(s.SampleSpacing(), 0);
    EXPECT_EQ(s.RoughnessCount, 0);
    EXPECT_EQ(s.InstrumentParams.ParamCount, 12);
}

TEST(Session, ResetAndErrorTouchOnlyTheirFields)
{
    TComToPX510 s;
    s.RawByteCount = 400;
    s.SampleCount = 200;
    s.HasData = true;
    s.RawData[0] = 7;
    s.SetError(4);
    EXPECT_EQ(s.ErrorCode, 4);
    EXPECT_EQ(s.LinkState, 7);
    s.RecordId = QStringLiteral("A001");
    s.RecordAutoId = 12;
    s.ResetMeasurement();
    EXPECT_TRUE(s.RecordId.isEmpty()) << "a new measurement belongs to no record";
    EXPECT_EQ(s.RecordAutoId, 0);
    EXPECT_EQ(s.RawByteCount, 0);
    EXPECT_EQ(s.SampleCount, 0);
    EXPECT_FALSE(s.HasData);
    EXPECT_EQ(s.ErrorCode, -1);
    EXPECT_EQ(s.RawData[0], 7) << "the arrays are not cleared";
}

TEST(Session, MeasurementFinishedOnAnUnconnectedSessionFetchesNothing)
{
    TComToPX510 s;
    s.SetLinkState(3);
    EXPECT_FALSE(s.HasData);
    EXPECT_FALSE(s.Busy);
}

struct DerivedCase {
    uint8_t range, actualRange, cutoff, actualCutoff, lengths, unit;
    int samples;
    double rangeLimit, cutoffLength, spacing;
};

class DerivedQuantities : public ::testing::TestWithParam<DerivedCase> {};

TEST_P(DerivedQuantities, FollowCodesAndUnitSystem)
{
    const DerivedCase &c = GetParam();
    TComToPX510 s;
    s.Conditions.Range = c.range;
    s.ActualRange = c.actualRange;
    s.Conditions.Cutoff = c.cutoff;
    s.ActualCutoff = c.actualCutoff;
    s.Conditions.SampleLengths = c.lengths;
    s.UnitSystem = c.unit;
    s.SampleCount = c.samples;
    EXPECT_DOUBLE_EQ(s.RangeLimit(), c.rangeLimit);
    EXPECT_DOUBLE_EQ(s.CutoffLength(), c.cutoffLength);
    EXPECT_NEAR(s.SampleSpacing(), c.spacing, 1e-7);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DerivedQuantities,
    ::testing::Values(DerivedCase{2, 0, 2, 0, 4, 0, 3000, 0.04, 0.8, 0.0013333},
                      DerivedCase{0, 2, 0, 3, 4, 0, 3000, 0.04, 2.5, 5 * 2.5 / 3000},
                      DerivedCase{0, 2, 1, 0, 0, 1, 1000, 1.6, 10, 0.01}, DerivedCase{3, 0, 2, 0, 4, 1, 0, 3.2, 32, 0},
                      DerivedCase{0, 0, 0, 0, 4, 0, 3000, 0, 0, 0},      // automatic before any measurement
                      DerivedCase{2, 0, 2, 0, 9, 0, 3000, 0.04, 0.8, 0}, // sampling-lengths code out of range
                      DerivedCase{2, 0, 2, 0, 4, 5, 3000, 0, 0, 0}));    // unknown unit system

TEST(Session, UnitFactorsAreExactlyFortyAndAFortieth)
{
    EXPECT_EQ(TComToPX510::MetricToInch(1.5), 60);
    EXPECT_EQ(TComToPX510::InchToMetric(60), 1.5);
}
