#include "SimEvaluation.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

std::vector<double> GaussianRoughness(const std::vector<double> &profile, int samplesPerCutoff)
{
    const int n = int(profile.size());
    const double alpha = std::sqrt(std::log(2.0) / std::numbers::pi);
    const int half = samplesPerCutoff; // the weights are negligible beyond one cutoff
    std::vector<double> weight(size_t(half + 1));
    for (int j = 0; j <= half; ++j) {
        const double t = j / (alpha * samplesPerCutoff);
        weight[size_t(j)] = std::exp(-std::numbers::pi * t * t);
    }
    std::vector<double> roughness(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        double sum = 0, norm = 0;
        for (int j = std::max(0, i - half); j <= std::min(n - 1, i + half); ++j) {
            const double w = weight[size_t(std::abs(j - i))];
            sum += w * profile[size_t(j)];
            norm += w;
        }
        roughness[size_t(i)] = profile[size_t(i)] - sum / norm;
    }
    return roughness;
}

namespace {

struct Extremes {
    std::vector<double> Peaks;   // heights of local peaks, highest first
    std::vector<double> Valleys; // depths of local valleys (positive), deepest first
    std::vector<int> PeakAt;     // positions of the peaks, in order along the profile
};

// Local peaks and valleys that stand out by at least `h` from their neighbours.
Extremes FindExtremes(const double *z, int n, double h)
{
    Extremes e;
    if (n == 0)
        return e;
    bool rising = true;
    double top = z[0], bottom = z[0];
    int topAt = 0;
    for (int i = 1; i < n; ++i) {
        if (rising) {
            if (z[i] > top) {
                top = z[i];
                topAt = i;
            } else if (z[i] < top - h) {
                e.Peaks.push_back(top);
                e.PeakAt.push_back(topAt);
                rising = false;
                bottom = z[i];
            }
        } else {
            if (z[i] < bottom) {
                bottom = z[i];
            } else if (z[i] > bottom + h) {
                e.Valleys.push_back(-bottom);
                rising = true;
                top = z[i];
                topAt = i;
            }
        }
    }
    std::sort(e.Peaks.begin(), e.Peaks.end(), std::greater<>());
    std::sort(e.Valleys.begin(), e.Valleys.end(), std::greater<>());
    return e;
}

double MeanOfFirst(const std::vector<double> &values, size_t count)
{
    count = std::min(count, values.size());
    if (count == 0)
        return 0;
    double sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += values[i];
    return sum / double(count);
}

} // namespace

SimResults EvaluateRoughness(const std::vector<double> &z, int sampleLengths, double spacingMm)
{
    SimResults r;
    const int n = int(z.size());
    if (n < 2 || sampleLengths < 1)
        return r;
    double sumAbs = 0, sumSq = 0;
    for (double v : z) {
        sumAbs += std::abs(v);
        sumSq += v * v;
    }
    r.Ra = sumAbs / n;
    r.Rq = std::sqrt(sumSq / n);
    double cubes = 0;
    for (double v : z)
        cubes += v * v * v;
    r.Sk = r.Rq > 0 ? cubes / n / (r.Rq * r.Rq * r.Rq) : 0;
    r.Rp = *std::max_element(z.begin(), z.end());
    r.Rv = -*std::min_element(z.begin(), z.end());
    r.Rt = r.Rp + r.Rv;

    // Per sampling length: peak-to-valley, ten-point and third-point heights.
    const int segment = n / sampleLengths;
    double zi = 0, tenPoint = 0, thirdPoint = 0;
    for (int s = 0; s < sampleLengths; ++s) {
        const double *part = z.data() + s * segment;
        const auto [lo, hi] = std::minmax_element(part, part + segment);
        zi += *hi - *lo;
        const Extremes e = FindExtremes(part, segment, 0.02 * (*hi - *lo));
        tenPoint += MeanOfFirst(e.Peaks, 5) + MeanOfFirst(e.Valleys, 5);
        const double third = (e.Peaks.size() >= 3 ? e.Peaks[2] : MeanOfFirst(e.Peaks, 3))
            + (e.Valleys.size() >= 3 ? e.Valleys[2] : MeanOfFirst(e.Valleys, 3));
        thirdPoint += third;
    }
    r.Ryi = zi / sampleLengths;
    r.Ryd = r.Ryi;
    r.Rz = tenPoint / sampleLengths;
    r.R3z = thirdPoint / sampleLengths;

    const double length = (n - 1) * spacingMm;
    // Local peaks: standing out by at least 1 % of the peak-to-valley height.
    const Extremes peaks = FindExtremes(z.data(), n, 0.01 * r.Ryi);
    r.S = peaks.PeakAt.size() >= 2
        ? (peaks.PeakAt.back() - peaks.PeakAt.front()) * spacingMm / double(peaks.PeakAt.size() - 1)
        : length;
    // Profile elements: upward crossings of a band of 5 % of Ryi around the mean line.
    const double band = 0.05 * r.Ryi;
    std::vector<int> ups;
    bool below = z[0] < 0;
    for (int i = 1; i < n; ++i) {
        if (below && z[size_t(i)] > band) {
            ups.push_back(i);
            below = false;
        } else if (!below && z[size_t(i)] < -band) {
            below = true;
        }
    }
    r.Sm = ups.size() >= 2 ? (ups.back() - ups.front()) * spacingMm / double(ups.size() - 1) : length;
    return r;
}
