#pragma once
// A measurement as a download leaves it: codes, time, twelve results, raw
// samples; decoded, filtered and distributed.

#include "measurement/Measurement.h"

#include <cmath>

inline void fillMeasurement(TMeasurement &s, int samples = 3000)
{
    s.Conditions = TConditions{3, 2, uint8_t(samples / 500 - 2), 2, 1}; // ±80 μm, 0.8 mm, GAUSS, DIN
    s.ActualRange = 3;
    s.ActualCutoff = 2;
    s.MeasureTime = 45123.5 + 1.0 / 86400 * 7; // 2023-07-16 12:00:07
    double value = 0.25;
    for (Tparameter *p : s.InstrumentParams.InReportOrder())
        p->ParamValue = (value *= 1.7);
    for (int i = 0; i < samples; ++i) {
        auto v = static_cast<int16_t>(std::lround(1500 * std::sin(i * 0.031) + (i * 37 % 101) - 50));
        s.RawData[2 * i] = static_cast<uint8_t>(v & 0xFF);
        s.RawData[2 * i + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    }
    s.RawByteCount = 2 * samples;
    s.DecodeProfile();
    s.DistributeParameters();
    s.HasData = true;
}
