#pragma once
// The two measurements the crash helper saves in turn, "A" and "B", and the
// exact record bytes each one is saved as.

#include "Measurements.h"

#include <QByteArray>
#include <QString>

inline QString versionName(int version)
{
    return version == 0 ? QStringLiteral("A") : QStringLiteral("B");
}

// Version 0 or 1 into `session`, decoded as after a download.
inline void makeVersion(TMeasurement &session, int version)
{
    makeMeasurement(session, 1 + version);
}

inline QByteArray versionRecord(int version)
{
    TMeasurement session;
    makeVersion(session, version);
    QByteArray record;
    session.SaveMeasurementStream(record);
    return record;
}
