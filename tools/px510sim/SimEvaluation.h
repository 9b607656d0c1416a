#pragma once
// The simulated tester's own results, evaluated from its profile after the
// usual definitions: the roughness profile is separated from waviness and
// tilt by a Gaussian filter with the cutoff, then
//   Ra, Rq, Sk   arithmetic mean, root mean square, skewness;
//   Rp, Rv, Rt   highest peak, deepest valley, their sum (evaluation length);
//   Ryi, Ryd     mean peak-to-valley height of the sampling lengths;
//   Rz           ten-point height (five highest peaks, five deepest valleys);
//   R3z          third highest peak to third deepest valley;
//   S            mean spacing of local peaks;
//   Sm           mean spacing of profile elements (mean-line crossings).

#include <array>
#include <vector>

struct SimResults {
    double Ra = 0, Rq = 0, Rz = 0, R3z = 0, Ryi = 0, Ryd = 0, Rt = 0, Rp = 0, Rv = 0;
    double S = 0, Sm = 0; // mm
    double Sk = 0;
    // In the order they travel: Ra Rq Rz R3z Ryi Ryd Rt Rp Rv S Sm Sk.
    std::array<double, 12> InOrder() const { return {Ra, Rq, Rz, R3z, Ryi, Ryd, Rt, Rp, Rv, S, Sm, Sk}; }
};

// The roughness profile of `profile` (μm), `samplesPerCutoff` points per cutoff.
// Near the ends the weights are cut off; evaluate at least a cutoff inside.
std::vector<double> GaussianRoughness(const std::vector<double> &profile, int samplesPerCutoff);

// Results of a roughness profile (μm) of `sampleLengths` sampling lengths,
// points `spacingMm` apart.
SimResults EvaluateRoughness(const std::vector<double> &roughness, int sampleLengths, double spacingMm);
