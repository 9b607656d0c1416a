#pragma once
// Measurements to store: full profiles decoded as after a download.

#include "common/DateTimeText.h"
#include "measurement/Measurement.h"

#include <QByteArray>
#include <QDateTime>
#include <cmath>

inline double at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return DateTimeText::fromDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

// A full measurement (3000 samples) decoded as after a download. `seed`
// varies the results and the profile.
inline void makeMeasurement(TMeasurement &session, int seed, uint8_t unitSystem = 0)
{
    session.Conditions = TConditions{2, 2, 4, 2, 0};
    session.UnitSystem = unitSystem;
    session.ActualRange = 2;
    session.ActualCutoff = 2;
    auto parameters = session.InstrumentParams.InReportOrder();
    for (size_t i = 0; i < parameters.size(); ++i)
        parameters[i]->ParamValue = 0.1 * seed + 0.01 * double(i) + 0.001;
    session.MeasureTime = at(2024, 3, 5, 10, 20, seed % 60);
    session.RawByteCount = 6000;
    for (int i = 0; i < 3000; ++i) {
        auto v = int16_t(std::lround(800 * std::sin(i * 0.05 + seed) + 150 * std::sin(i * 0.9)));
        session.RawData[size_t(2 * i)] = uint8_t(v & 0xff);
        session.RawData[size_t(2 * i + 1)] = uint8_t((v >> 8) & 0xff);
    }
    QByteArray record;
    session.SaveMeasurementStream(record);
    session.LoadMeasurementStream(record);
}
