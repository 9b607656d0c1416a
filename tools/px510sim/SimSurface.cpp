#include "SimSurface.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

SurfaceKind DrawSurfaceKind(uint32_t seed)
{
    std::mt19937 rng(seed * 2654435761u + 17);
    std::uniform_real_distribution<double> u(0, 1);
    SurfaceKind k;
    k.Turned = u(rng) < 0.6;
    if (k.Turned) {
        k.FeedMm = 0.05 + 0.17 * u(rng);
        k.NoseRadiusMm = 0.4 + 0.8 * u(rng);
        const double cusp = k.FeedMm * k.FeedMm / (8 * k.NoseRadiusMm) * 1000; // μm
        k.RoughnessUm = cusp * (0.04 + 0.08 * u(rng));
        k.CorrelationUm = 3 + 6 * u(rng);
    } else {
        k.RoughnessUm = 0.2 + 0.8 * u(rng);
        k.CorrelationUm = 6 + 20 * u(rng);
    }
    k.WavinessUm = 0.3 + 1.5 * u(rng);
    k.WavelengthMm = 2 + 6 * u(rng);
    k.TiltUmPerMm = (u(rng) - 0.5) * 1.2;
    k.OffsetUm = (u(rng) - 0.5) * 4;
    return k;
}

double ExpectedRa(const SurfaceKind &kind)
{
    double ra = kind.RoughnessUm * 0.8;
    if (kind.Turned)
        ra += kind.FeedMm * kind.FeedMm / (8 * kind.NoseRadiusMm) * 1000 * 0.26;
    return ra;
}

std::vector<double> TraceSurface(const SurfaceKind &kind, uint32_t seed, int count, double spacingMm)
{
    std::mt19937 rng(seed * 40503u + 7);
    std::normal_distribution<double> normal(0, 1);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<double> z(size_t(std::max(count, 0)), 0.0);
    const double dxUm = spacingMm * 1000;

    // Random roughness: white noise through a first-order smoother whose
    // length is the correlation length, rescaled to its standard deviation.
    const double a = std::exp(-dxUm / std::max(kind.CorrelationUm, dxUm));
    const double gain = std::sqrt(1 - a * a);
    double state = normal(rng);
    for (double &v : z) {
        state = a * state + gain * normal(rng);
        v = kind.RoughnessUm * state;
    }
    if (kind.Turned) {
        // Feed marks: arcs of the tool nose, a little different each turn.
        const double phase = u(rng) * kind.FeedMm;
        std::vector<double> depth(size_t(count * spacingMm / kind.FeedMm) + 3);
        for (double &d : depth)
            d = 1 + 0.15 * normal(rng);
        for (int i = 0; i < count; ++i) {
            const double x = i * spacingMm + phase;
            const auto mark = size_t(x / kind.FeedMm);
            const double within = x - double(mark) * kind.FeedMm - kind.FeedMm / 2; // mm from the arc's bottom
            z[size_t(i)] += (within * within / (2 * kind.NoseRadiusMm) * 1000) * depth[mark];
        }
    } else {
        // Ground: now and then a deeper scratch left by a single grain.
        const int scratches = std::max(1, int(count * spacingMm * 6));
        for (int s = 0; s < scratches; ++s) {
            const int centre = int(u(rng) * count);
            const double width = (4 + 10 * u(rng)) / dxUm;
            const double deep = kind.RoughnessUm * (2 + 2 * u(rng));
            for (int i = std::max(0, centre - int(3 * width)); i < std::min(count, centre + int(3 * width)); ++i) {
                const double t = (i - centre) / std::max(width, 1.0);
                z[size_t(i)] -= deep * std::exp(-t * t);
            }
        }
    }
    const double wavePhase = u(rng) * 2 * std::numbers::pi;
    for (int i = 0; i < count; ++i) {
        const double x = i * spacingMm;
        z[size_t(i)] += kind.WavinessUm * std::sin(2 * std::numbers::pi * x / kind.WavelengthMm + wavePhase)
            + kind.TiltUmPerMm * (x - count * spacingMm / 2);
    }
    double mean = 0;
    for (double v : z)
        mean += v;
    mean = z.empty() ? 0 : mean / double(z.size());
    for (double &v : z)
        v += kind.OffsetUm - mean;
    return z;
}
