// The simulated tester itself: its results follow the usual definitions and
// its replies have the layouts the workstation reads.

#include "SimEvaluation.h"
#include "SimTester.h"
#include "TestSupport.h"
#include "link/Frame.h"
#include "link/ReplyFrame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(SimEvaluation, ASineGivesItsTextbookValues)
{
    // 5 sampling lengths of 0.8 mm, 1000 points each, a cutoff more at each
    // end for the filter; wavelength 80 μm.
    const double amplitude = 2, wavelength = 0.08, spacing = 0.0008;
    std::vector<double> z(7000);
    for (size_t i = 0; i < z.size(); ++i)
        z[i] = amplitude * std::sin(2 * std::numbers::pi * double(i) * spacing / wavelength);
    const std::vector<double> roughness = GaussianRoughness(z, 1000);
    const SimResults r = EvaluateRoughness({roughness.begin() + 1000, roughness.end() - 1000}, 5, spacing);
    EXPECT_NEAR(r.Ra, 2 * amplitude / std::numbers::pi, 0.01);
    EXPECT_NEAR(r.Rq, amplitude / std::sqrt(2), 0.01);
    for (double height : {r.Rt, r.Ryi, r.Rz, r.R3z})
        EXPECT_NEAR(height, 2 * amplitude, 0.02);
    EXPECT_NEAR(r.Rp, amplitude, 0.01);
    EXPECT_NEAR(r.Rv, amplitude, 0.01);
    EXPECT_NEAR(r.Sm, wavelength, 0.001);
    EXPECT_NEAR(r.S, wavelength, 0.001);
    EXPECT_NEAR(r.Sk, 0, 0.01);
}

TEST(SimEvaluation, FilterRemovesWavinessAndTilt)
{
    std::vector<double> z(3000);
    for (size_t i = 0; i < z.size(); ++i)
        z[i] = 5 * std::sin(2 * std::numbers::pi * double(i) / 10000.0) + 0.002 * double(i); // 10 cutoffs
    const std::vector<double> r = GaussianRoughness(z, 1000);
    for (size_t i = 1000; i < 2000; ++i)
        ASSERT_NEAR(r[i], 0, 0.05) << i;
}

TEST(SimMeasurement, SurfacesAreRealisticAndInsideTheRange)
{
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        for (uint8_t range : {0, 1, 3}) {
            const SimMeasurement m = Measure(seed, 1, SimConditions{0, 4, 0, range, 2});
            ASSERT_EQ(m.Raw.size(), 6000);
            if (range != 0) {
                EXPECT_EQ(m.ActualRange, range);
            }
            EXPECT_GE(m.ActualCutoff, 1);
            int peak = 0;
            for (int i = 0; i < 3000; ++i)
                peak = std::max(peak, std::abs(int(int16_t(uint8_t(m.Raw[2 * i]) | uint8_t(m.Raw[2 * i + 1]) << 8))));
            EXPECT_LE(peak, 4096); // within the measuring range
            EXPECT_GT(peak, 50);   // and not flat
            const SimResults &r = m.Results;
            EXPECT_GT(r.Ra, 0.02);
            EXPECT_LT(r.Ra, 10);
            EXPECT_LT(r.Ra, r.Rq);
            EXPECT_LT(r.Rq, r.Ryi);
            EXPECT_LE(r.Ryi, r.Rt + 1e-9);
            EXPECT_NEAR(r.Rt, r.Rp + r.Rv, 1e-9);
            EXPECT_LE(r.S, r.Sm + 1e-9);
            EXPECT_GT(r.Sm, 0);
        }
    }
    // The same seed and number give the same measurement; the next differs.
    EXPECT_EQ(Measure(7, 2, {}).Raw, Measure(7, 2, {}).Raw);
    EXPECT_NE(Measure(7, 2, {}).Raw, Measure(7, 3, {}).Raw);
}

TEST(SimTester, RepliesHaveTheLayoutsTheWorkstationReads)
{
    SimTester tester(3, 0);
    const QByteArray conditions = tester.Answer(Frame::Build('c', bytes({1, 0, 3, 3, 1})), 0);
    EXPECT_EQ(conditions, Frame::Build('a'));
    EXPECT_EQ(tester.Answer(Frame::Build('t'), 0), Frame::Build('t', bytes({1, 0, 3, 3, 1, 0})));
    EXPECT_EQ(tester.Answer(Frame::Build('c', bytes({4, 0, 0, 0, 0})), 0)[2], 'e'); // out of range
    EXPECT_EQ(tester.Answer(Frame::Build('u', bytes({1})), 0), Frame::Build('a'));

    const QByteArray results = tester.Answer(Frame::Build('p'), 0);
    ASSERT_EQ(results.size(), 4 + 156 + 3);
    EXPECT_TRUE(Frame::IsComplete(results.constData(), results.size()));
    // In imperial the tester reports μin and mil: field 1 is Ra × 40.
    EXPECT_NEAR(results.mid(4 + 5, 8).trimmed().toDouble(), tester.Held().Results.Ra * 40, 0.001);
    EXPECT_NEAR(results.mid(4 + 11 * 13 + 5, 8).trimmed().toDouble(), tester.Held().Results.Sk, 0.0001);

    const QByteArray packet = tester.Answer(Frame::Build('v', bytes({30, 0})), 0);
    ASSERT_EQ(packet.size(), 209);
    EXPECT_EQ(packet.mid(6, 200), tester.Held().Raw.mid(29 * 200, 200));
    EXPECT_EQ(tester.Answer(Frame::Build('v', bytes({31, 0})), 0), ReplyFrame::Error(129));
    EXPECT_EQ(tester.Answer(Frame::Build('v', bytes({0, 0})), 0), ReplyFrame::Error(129));
    EXPECT_EQ(tester.Answer(Frame::Build('k', bytes({1})), 0)[2], 'e'); // not in stylus mode
    tester.Answer(Frame::Build('k', bytes({0})), 0);
    EXPECT_EQ(tester.Answer(Frame::Build('k', bytes({1})), 0).size(), 9);
}

TEST(SimTester, MeasuresThenAnnouncesTheEnd)
{
    SimTester tester(5, 2.0);
    tester.Answer(Frame::Build('c', bytes({2, 1, 0, 2, 2})), 0);
    EXPECT_EQ(tester.Answer(Frame::Build('s'), 10), Frame::Build('a'));
    EXPECT_TRUE(tester.Due(11.9).isEmpty());
    EXPECT_EQ(tester.NextEventAt(), 12);
    EXPECT_EQ(tester.Due(12), Frame::Build('s'));
    EXPECT_EQ(tester.MeasurementCount(), 1);
    EXPECT_EQ(tester.Held().Packets(), 15);
    EXPECT_EQ(tester.Held().Raw, Measure(5, 1, tester.Conditions()).Raw);
    EXPECT_TRUE(tester.Due(20).isEmpty());
}

TEST(SimTester, RequestsAreTakenFromTheByteStream)
{
    QByteArray input = bytes({0x55, 0x00}) + Frame::Build('w') + bytes({2, 'U', 'w', 0, 0, 0, 3})
        + Frame::Build('t').left(4);
    bool damaged = false;
    EXPECT_EQ(TakeRequest(input, damaged), Frame::Build('w'));
    EXPECT_FALSE(damaged);
    EXPECT_EQ(TakeRequest(input, damaged)->size(), 7);
    EXPECT_TRUE(damaged);                                  // wrong checksum: answered with the checksum error
    EXPECT_FALSE(TakeRequest(input, damaged).has_value()); // waits for the rest
    input += Frame::Build('t').mid(4);
    EXPECT_EQ(TakeRequest(input, damaged), Frame::Build('t'));
    EXPECT_TRUE(input.isEmpty());
}
