#include "common/Errors.h"
#include "measurement/Measurement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

void putSample(TMeasurement &s, int index, int16_t value)
{
    s.RawData[2 * index] = static_cast<uint8_t>(value & 0xFF);
    s.RawData[2 * index + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// A full 3000-sample measurement of a gentle sine, ready to decode.
void fillRaw(TMeasurement &s, int samples = 3000)
{
    for (int i = 0; i < samples; ++i)
        putSample(s, i, static_cast<int16_t>(std::lround(800 * std::sin(i * 0.02) + (i % 7) * 9)));
    s.RawByteCount = 2 * samples;
}

} // namespace

TEST(DecodeProfile, FourThousandNinetySixCountsAreTheRangeLimit)
{
    const struct {
        uint8_t range, actualRange, unit;
        double limit; // μm or μin
    } cases[] = {{3, 0, 0, 80}, {0, 1, 0, 20}, {2, 0, 1, 1600}, {1, 3, 0, 20}};
    for (auto c : cases) {
        TMeasurement s;
        s.Conditions.Range = c.range;
        s.ActualRange = c.actualRange;
        s.UnitSystem = c.unit;
        putSample(s, 0, 4096);
        putSample(s, 1, -1);
        putSample(s, 2, -32768);
        s.RawByteCount = 7; // an odd last byte is ignored
        s.DecodeProfile();
        EXPECT_EQ(s.SampleCount, 3);
        EXPECT_DOUBLE_EQ(s.Profile[0], c.limit);
        EXPECT_DOUBLE_EQ(s.Profile[1], -c.limit / 4096);
        EXPECT_DOUBLE_EQ(s.Profile[2], -8 * c.limit);
    }
}

TEST(DecodeProfile, CountBeyondTheBufferIsRefusedAndChangesNothing)
{
    TMeasurement s;
    fillRaw(s);
    s.DecodeProfile();
    const auto profile = s.Profile;
    const auto roughness = s.RoughnessProfile;
    for (int32_t count : {6001, 100000, -2}) {
        s.RawByteCount = count;
        EXPECT_THROW(s.DecodeProfile(), RecordError);
        EXPECT_EQ(s.SampleCount, 3000);
        EXPECT_EQ(s.RoughnessCount, 2500);
        EXPECT_EQ(std::memcmp(&s.Profile, &profile, sizeof profile), 0);
        EXPECT_EQ(std::memcmp(&s.RoughnessProfile, &roughness, sizeof roughness), 0);
    }
}

TEST(ApplyFilter, OriginAndCountPerFilter)
{
    const struct {
        uint8_t code;
        int originSteps;
    } cases[] = {{0, 500}, {1, 250}, {2, 250}, {3, 0}};
    for (auto c : cases) {
        TMeasurement s;
        s.Conditions.FilterCode = c.code;
        fillRaw(s);
        s.DecodeProfile();
        EXPECT_EQ(s.RoughnessCount, 2500) << int(c.code);
        EXPECT_DOUBLE_EQ(s.RoughnessOrigin, c.originSteps * 5 * 0.8 / 3000) << int(c.code);
        EXPECT_GT(s.BearingLevelStep, 0);
    }
}

TEST(ApplyFilter, UnknownCodeLeavesTheRoughnessDataAsTheyWere)
{
    TMeasurement s;
    fillRaw(s);
    s.DecodeProfile();
    const auto roughness = s.RoughnessProfile;
    const double origin = s.RoughnessOrigin;
    s.Conditions.FilterCode = 4;
    fillRaw(s, 1000);
    s.DecodeProfile();
    EXPECT_EQ(s.SampleCount, 1000);
    EXPECT_EQ(s.RoughnessCount, 2500);
    EXPECT_EQ(s.RoughnessOrigin, origin);
    EXPECT_EQ(std::memcmp(&s.RoughnessProfile, &roughness, sizeof roughness), 0);
}

TEST(ApplyFilter, ShortProfilesGiveAnEmptyRoughnessProfile)
{
    const struct {
        uint8_t code;
        int samples;
    } cases[] = {{0, 500}, {1, 120}, {2, 0}, {3, 501}, {3, 400}};
    for (auto c : cases) {
        TMeasurement s;
        s.Conditions.FilterCode = c.code;
        fillRaw(s);
        s.DecodeProfile(); // a full profile first: nothing of it may survive
        fillRaw(s, c.samples);
        s.DecodeProfile();
        EXPECT_EQ(s.RoughnessCount, 0) << int(c.code) << " / " << c.samples;
        EXPECT_EQ(s.BearingLevelStep, 0);
        EXPECT_EQ(s.BearingCurve[50], 0);
        double minimum = 1, maximum = 1;
        s.GetProfileMinMax(minimum, maximum);
        EXPECT_EQ(minimum, 0);
        EXPECT_EQ(maximum, 0);
    }
}
