#include "analysis/FilterUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>

namespace {

using FilterOp = void (TFilter::*)(const TProfileArray &, TProfileArray &, int) const;

struct FilterCase {
    const char *name;
    FilterOp run;
    int sourceOfFirstPoint; // source index behind roughness point 0
    double ofConstant;      // output for a constant profile
};

const FilterCase Filters[] = {
    // The RC stages keep the +32 of their rescaling; the mean-line filters give 0.
    {"R-C", &TFilter::RCFilter, 500, 0.5},
    {"PC-RC", &TFilter::PhaseCorrectRCFilter, 250, 0.5},
    {"GAUSS", &TFilter::GaussFilter, 249, 0},
    {"D-P", &TFilter::LeastSquaresFilter, 0, 0},
};

constexpr int N = 3000;
constexpr int Points = N - 500;

TProfileArray filled(const std::function<double(int)> &f)
{
    TProfileArray x{};
    for (int i = 0; i < N; ++i)
        x[i] = f(i);
    return x;
}

TProfileArray run(const FilterCase &filter, const TProfileArray &x, int n = N)
{
    TProfileArray out;
    out.fill(std::numeric_limits<double>::quiet_NaN()); // a read of unwritten scratch shows
    (TFilter().*filter.run)(x, out, n);
    return out;
}

double amplitude(const TProfileArray &y, int from, int to)
{
    auto [lo, hi] = std::minmax_element(y.begin() + from, y.begin() + to);
    return (*hi - *lo) / 2;
}

} // namespace

TEST(GaussWeights, FollowTheRuleAndSumToTheDivisor)
{
    const auto &w = TFilter::GaussWeights();
    const std::pair<int, int> listed[] = {{0, 126}, {498, 126},  {1, 130},    {497, 130},  {2, 134},    {3, 137},
                                          {4, 141}, {240, 4249}, {244, 4262}, {245, 4265}, {248, 4268}, {249, 4269}};
    for (auto [k, value] : listed)
        EXPECT_EQ(w[k], value) << "k = " << k;
    long sum = 0;
    for (int k = 0; k < TFilter::GaussWidth; ++k) {
        sum += w[k];
        EXPECT_EQ(w[k], w[498 - k]);
    }
    EXPECT_EQ(sum, TFilter::GaussDivisor);
}

TEST(Filters, ConstantProfile)
{
    TProfileArray x = filled([](int) { return 12.25; });
    for (const FilterCase &f : Filters) {
        TProfileArray y = run(f, x);
        for (int i = 0; i < Points; ++i)
            ASSERT_NEAR(y[i], f.ofConstant, 1e-9) << f.name << " at " << i;
    }
}

TEST(Filters, SlopingProfileVanishesThroughMeanLineFilters)
{
    TProfileArray x = filled([](int i) { return 3.0 + 0.01 * i; });
    for (const FilterCase &f : {Filters[2], Filters[3]}) {
        TProfileArray y = run(f, x);
        for (int i = 0; i < Points; ++i)
            ASSERT_NEAR(y[i], 0, 1e-9) << f.name << " at " << i;
    }
}

TEST(Filters, SineOfFiveHundredStepsKeepsItsSpecifiedShare)
{
    const double a = 100;
    TProfileArray x = filled([&](int i) { return a * std::sin(2 * std::numbers::pi * i / 500); });
    // Both RC filters once their recursion has settled, PC-RC away from both ends.
    EXPECT_NEAR(amplitude(run(Filters[0], x), 500, Points) / a, 0.75, 0.005);
    EXPECT_NEAR(amplitude(run(Filters[1], x), 500, 2000) / a, 0.75, 0.005);
    EXPECT_NEAR(amplitude(run(Filters[2], x), 0, Points) / a, 0.49, 0.005);
}

TEST(Filters, PhaseCorrectValuesAreWholeStepsOfOneSixtyFourth)
{
    TProfileArray x = filled([](int i) { return 7 * std::sin(i * 0.013) + 0.37 * std::cos(i * 0.71); });
    TProfileArray y = run(Filters[1], x);
    for (int i = 0; i < Points; ++i) {
        double k = y[i] * 64 - 32;
        ASSERT_EQ(k, std::trunc(k)) << "at " << i;
    }
}

TEST(Filters, RoughnessPointZeroBelongsToTheirSourcePoint)
{
    // A single spike at source point 1000 is seen at roughness point 1000 - origin.
    TProfileArray x = filled([](int i) { return i == 1000 ? 50.0 : 0.0; });
    for (const FilterCase &f : Filters) {
        TProfileArray y = run(f, x);
        double baseline = y[Points - 1];
        int peak = 0;
        for (int i = 1; i < Points; ++i)
            if (std::fabs(y[i] - baseline) > std::fabs(y[peak] - baseline))
                peak = i;
        EXPECT_EQ(peak, 1000 - f.sourceOfFirstPoint) << f.name;
    }
}

TEST(Filters, TwoRunsGiveBitIdenticalOutput)
{
    TProfileArray x = filled([](int i) { return std::sin(i * 0.05) * 20 + (i % 17) * 0.1; });
    for (const FilterCase &f : Filters) {
        TProfileArray first = run(f, x);
        TProfileArray second;
        second.fill(-1);
        (TFilter().*f.run)(x, second, N);
        EXPECT_EQ(std::memcmp(first.data(), second.data(), Points * sizeof(double)), 0) << f.name;
    }
}

TEST(Filters, TooFewPointsWriteNoRoughnessPoints)
{
    TProfileArray x = filled([](int i) { return i; });
    for (const FilterCase &f : Filters) {
        EXPECT_TRUE(std::isnan(run(f, x, 0)[0])) << f.name << " n = 0";
        EXPECT_TRUE(std::isnan(run(f, x, -5)[0])) << f.name << " n < 0";
    }
    EXPECT_TRUE(std::isnan(run(Filters[2], x, 500)[0]));
    EXPECT_TRUE(std::isnan(run(Filters[3], x, 501)[0])) << "a line through one point has no slope";
}

TEST(MaterialRatio, CountsPointsAtOrAboveTheLevel)
{
    TProfileArray x = filled([](int i) { return i % 4; }); // 0 1 2 3 0 1 2 3 ...
    TFilter f;
    EXPECT_DOUBLE_EQ(f.MaterialRatioAt(x, 8, 3), 0.25);
    EXPECT_DOUBLE_EQ(f.MaterialRatioAt(x, 8, 2), 0.5) << "equal counts";
    EXPECT_DOUBLE_EQ(f.MaterialRatioAt(x, 8, -1), 1);
    EXPECT_DOUBLE_EQ(f.MaterialRatioAt(x, 0, -1), 0);

    double maximum = 7, minimum = 7;
    f.FindMinMax(maximum, minimum, 0, x);
    EXPECT_EQ(maximum, 7) << "n = 0 leaves the values";
    f.FindMinMax(maximum, minimum, 7, x);
    EXPECT_EQ(maximum, 3);
    EXPECT_EQ(minimum, 0);
}
