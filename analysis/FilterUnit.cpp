#include "analysis/FilterUnit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// One RC high-pass stage in bilinear form, 2RC : dx = 8000 : 29.
constexpr double A = 8000;
constexpr double B = 7971;
constexpr double C = 8029;
// The first stage works with values 64 times larger; the result is scaled back.
constexpr double Scale = 64;

int pointCount(int n)
{
    return std::min(n, TFilter::MaxPoints);
}

// (u + 32) / 64: the rounding offset stays after the floating-point division.
double rescaled(double u)
{
    return (u + Scale / 2) / Scale;
}

// First RC stage, forward, into t[0 .. n-1].
void forwardFirstStage(const TProfileArray &x, TProfileArray &t, int n)
{
    t[0] = 0;
    for (int i = 1; i < n; ++i)
        t[i] = (Scale * A * (x[i] - x[i - 1]) + B * t[i - 1]) / C;
}

} // namespace

const std::array<int32_t, TFilter::GaussWidth> &TFilter::GaussWeights()
{
    static const std::array<int32_t, GaussWidth> weights = [] {
        std::array<int32_t, GaussWidth> w{};
        for (int k = 0; k < GaussWidth; ++k) {
            double z = (k - 249) / 235.23;
            w[k] = static_cast<int32_t>(std::floor(4268.55 * std::exp(-std::numbers::pi * z * z) + 0.5));
        }
        return w;
    }();
    return weights;
}

void TFilter::RCFilter(const TProfileArray &x, TProfileArray &out, int n) const
{
    n = pointCount(n);
    if (n <= 0)
        return;
    // Both stages run in place in `out`; `previousT` keeps the first-stage value
    // that the second stage has just overwritten.
    forwardFirstStage(x, out, n);
    double previousT = out[0];
    out[0] = 0;
    for (int i = 1; i < n; ++i) {
        double t = out[i];
        out[i] = (A * (t - previousT) + B * out[i - 1]) / C;
        previousT = t;
    }
    for (int i = 0; i < n; ++i)
        out[i] = rescaled(out[i]);
    // The recursion settles over the first 500 points; they are dropped.
    for (int i = 0; i + DroppedPoints < n; ++i)
        out[i] = out[i + DroppedPoints];
}

void TFilter::PhaseCorrectRCFilter(const TProfileArray &x, TProfileArray &out, int n) const
{
    n = pointCount(n);
    if (n <= 0)
        return;
    forwardFirstStage(x, out, n);
    // The backward stage cancels the phase shift of the forward one.
    double nextT = 0; // first-stage value at i + 1; the last one counts as 0
    out[n - 1] = 0;
    for (int i = n - 2; i >= 0; --i) {
        double t = out[i];
        out[i] = std::trunc((A * (t - nextT) + B * out[i + 1]) / C);
        nextT = t;
    }
    for (int i = 0; i < n; ++i)
        out[i] = rescaled(out[i]);
    constexpr int half = DroppedPoints / 2;
    for (int i = 0; i + DroppedPoints < n; ++i)
        out[i] = out[i + half];
}

void TFilter::GaussFilter(const TProfileArray &x, TProfileArray &out, int n) const
{
    n = pointCount(n);
    const auto &w = GaussWeights();
    constexpr int centre = GaussWidth / 2;
    for (int i = 0; i + DroppedPoints < n; ++i) {
        double s = 0;
        for (int j = 0; j < GaussWidth; ++j)
            s += w[j] * x[i + j];
        out[i] = x[i + centre] - s / GaussDivisor;
    }
}

void TFilter::LeastSquaresFilter(const TProfileArray &x, TProfileArray &out, int n) const
{
    int m = pointCount(n) - DroppedPoints;
    if (m < 2)
        return;
    double sk = 0, sy = 0, skk = 0, sky = 0;
    for (int k = 0; k < m; ++k) {
        sk += k;
        sy += x[k];
        skk += static_cast<double>(k) * k;
        sky += k * x[k];
    }
    double b = (sky - sk * sy / m) / (skk - sk * sk / m);
    double a = (sy - b * sk) / m;
    for (int k = 0; k < m; ++k)
        out[k] = x[k] - a - b * k;
}

double TFilter::MaterialRatioAt(const TProfileArray &x, int n, double level) const
{
    n = pointCount(n);
    if (n <= 0)
        return 0;
    int count = 0;
    for (int i = 0; i < n; ++i)
        if (x[i] >= level)
            ++count;
    return static_cast<double>(count) / n;
}

void TFilter::FindMinMax(double &maximum, double &minimum, int n, const TProfileArray &x) const
{
    n = pointCount(n);
    if (n <= 0)
        return;
    double max = -9999999.0;
    double min = 99999999.0;
    for (int i = 0; i < n; ++i) {
        if (x[i] > max)
            max = x[i];
        if (x[i] < min)
            min = x[i];
    }
    maximum = max;
    minimum = min;
}
