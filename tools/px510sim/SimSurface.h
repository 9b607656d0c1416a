#pragma once
// The surface the simulated tester traces: feed marks of a turned surface or
// the random scratches of a ground one, with waviness and a slight tilt.
// Everything follows from the seed, so a test can make the same surface.

#include <cstdint>
#include <vector>

struct SurfaceKind {
    bool Turned = true;
    double FeedMm = 0.1;       // turned: distance between feed marks
    double NoseRadiusMm = 0.8; // turned: tool nose radius
    double RoughnessUm = 0.1;  // random roughness (standard deviation)
    double CorrelationUm = 8;  // its correlation length
    double WavinessUm = 1;     // waviness amplitude
    double WavelengthMm = 4;   // waviness wavelength
    double TiltUmPerMm = 0.3;  // slope of the part under the stylus
    double OffsetUm = 0;       // where the stylus sits in its range
};

// A kind drawn from `seed`.
SurfaceKind DrawSurfaceKind(uint32_t seed);

// Heights in μm at `count` points `spacingMm` apart, mean height near zero.
std::vector<double> TraceSurface(const SurfaceKind &kind, uint32_t seed, int count, double spacingMm);

// The Ra the kind is expected to give, for choosing an automatic cutoff.
double ExpectedRa(const SurfaceKind &kind);
