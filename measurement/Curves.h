#pragma once
// The curves of a measurement as points with the units of their axes. The
// main chart, the data manager's preview and px510tool all take them from here.

#include <QList>
#include <QString>

class TMeasurement;

struct TCurve {
    QList<double> X;
    QList<double> Y;
    QString XUnit;
    QString YUnit;
    qsizetype size() const { return X.size(); }
};

struct TMeasurementCurves {
    TCurve Profile;   // height over position, from position 0
    TCurve Roughness; // filtered height over position, from RoughnessOrigin
    // Material ratio (X, %) against depth (Y, % of the roughness span), in
    // level order: depth rises, the ratio with it.
    TCurve Bearing;
};

// Counts outside the arrays are cut to them; an empty measurement gives empty curves.
TMeasurementCurves CurvesOf(const TMeasurement &measurement);
