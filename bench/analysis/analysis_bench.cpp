// Time of decoding a full 3000-sample measurement (scaling, filter, bearing
// curve) per filter, and of loading its 6561-byte record. Prints medians.
//   analysis_bench [repetitions]

#include "bench/BenchFigure.h"
#include "link/ComToPX510Unit.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void fillRaw(TComToPX510 &s)
{
    // Feed marks, finer roughness and a slope, in counts.
    for (int i = 0; i < 3000; ++i) {
        double v = 900 * std::sin(i * 0.05) + 250 * std::sin(i * 0.9 + 1) + 0.2 * i - 300;
        auto sample = static_cast<int16_t>(std::lround(v));
        s.RawData[2 * i] = static_cast<uint8_t>(sample & 0xFF);
        s.RawData[2 * i + 1] = static_cast<uint8_t>((sample >> 8) & 0xFF);
    }
    s.RawByteCount = 6000;
}

template <typename F>
double medianMilliseconds(int repetitions, F work)
{
    std::vector<double> times;
    times.reserve(static_cast<size_t>(repetitions));
    for (int r = 0; r < repetitions; ++r) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + repetitions / 2, times.end());
    return times[static_cast<size_t>(repetitions / 2)];
}

} // namespace

int main(int argc, char **argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const char *names[] = {"R-C", "PC-RC", "GAUSS", "D-P"};
    TComToPX510 s;
    fillRaw(s);
    std::printf("decode + filter + bearing curve, 3000 samples, median of %d:\n", repetitions);
    for (uint8_t code = 0; code < 4; ++code) {
        s.Conditions.FilterCode = code;
        double ms = medianMilliseconds(repetitions, [&] { s.DecodeProfile(); });
        std::printf("  %-6s %8.3f ms\n", names[code], ms);
        BenchFigure(std::string("decode + filter + bearing curve, 3000 samples, ") + names[code], ms, "ms");
    }
    s.Conditions.FilterCode = 2;
    QByteArray record;
    s.SaveMeasurementStream(record);
    double ms = medianMilliseconds(repetitions, [&] { s.LoadMeasurementStream(record); });
    std::printf("load of the %lld-byte record (GAUSS), median of %d: %8.3f ms\n", static_cast<long long>(record.size()),
                repetitions, ms);
    BenchFigure("load of a 6561-byte record", ms, "ms");
    return 0;
}
