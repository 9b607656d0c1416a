#pragma once
// Everything the report page draws besides its fixed layout. The owner of the
// report fills it at drawing time from the windows that hold the texts; the
// page itself keeps no copy between drawings.

#include <QImage>
#include <QString>
#include <array>

class TMeasurement;

// The data manager's current row, as its field editors show it; all empty
// when the record view has no current row.
struct ReportHeader {
    QString Id;
    QString WorkName;
    QString Operator;
    QString DateTime;
};

// Which series of the main chart are active.
struct ReportSeries {
    bool Unfiltered = false; // series 0
    bool Roughness = false;  // series 1
    bool Bearing = false;    // series 2
    bool operator==(const ReportSeries &) const = default;
};

// The three level boxes of the bearing-ratio view, as the texts they hold.
struct ReportBearingTexts {
    QString LevelPercentRt; // c in %Rt
    QString LevelHeight;    // c in the height unit
    QString MaterialRatio;  // Rmr in %
};

struct ReportPageInput {
    QImage Logo;
    ReportHeader Header;
    // Texts of the main window's status panels 2 to 6: evaluation length,
    // range, filter, standard, unit system.
    std::array<QString, 5> StatusPanels;
    ReportSeries Series;
    // Standard, the instrument's results and the cutoff label; without a
    // session the results block and the cutoff stay empty.
    const TMeasurement *Session = nullptr;
};
