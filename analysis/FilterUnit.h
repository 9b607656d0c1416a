#pragma once
// The four profile filters and the two small operations of the bearing-ratio
// curve. Every filter works in sampling steps: its cutoff is about 500 steps
// whatever the cutoff setting, and it delivers 500 points fewer than it gets.

#include <array>
#include <cstdint>

using TProfileArray = std::array<double, 3000>;

class TFilter {
public:
    static constexpr int MaxPoints = 3000;
    static constexpr int DroppedPoints = 500; // points every filter consumes
    static constexpr int GaussWidth = 499;
    static constexpr int32_t GaussDivisor = 996215; // sum of the weights

    // The filters write the roughness profile into out[0 .. n-501]; entries
    // above that are scratch. n <= 0 writes nothing; n above 3000 is cut to 3000.
    void RCFilter(const TProfileArray &x, TProfileArray &out, int n) const;
    void PhaseCorrectRCFilter(const TProfileArray &x, TProfileArray &out, int n) const;
    void GaussFilter(const TProfileArray &x, TProfileArray &out, int n) const;
    // Fits a straight line to the first n-500 points; with fewer than two
    // points the line is undefined and nothing is written.
    void LeastSquaresFilter(const TProfileArray &x, TProfileArray &out, int n) const;

    // Share (0 .. 1) of the n points at or above level; 0 for n <= 0.
    double MaterialRatioAt(const TProfileArray &x, int n, double level) const;
    // Largest and smallest of the n values; for n <= 0 both stay as they were.
    void FindMinMax(double &maximum, double &minimum, int n, const TProfileArray &x) const;

    // 4268.55 * exp(-pi * ((k - 249) / 235.23)^2), rounded half up.
    static const std::array<int32_t, GaussWidth> &GaussWeights();
};
