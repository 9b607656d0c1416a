#pragma once
// The variable texts of the report page: the curve title and the results
// block, whose cells depend on the standard of the measurement.

#include "report/ReportInput.h"

#include <QPoint>
#include <QString>
#include <vector>

class TPX510parameters;

// The title naming the curves shown; empty when no series is active.
QString ReportCurveTitle(const ReportSeries &series);

// A value in the general number format: at most 15 significant digits, no
// trailing zeros, the locale's decimal separator.
QString ReportValueText(double value);

struct ReportCell {
    QPoint At; // top-left corner in page units
    QString Text;
};

// The cells of the results block for a standard code (0 ISO, 1 DIN, 2 JIS,
// 3 ANSI); any other code gives no cell.
std::vector<ReportCell> ReportResultCells(int standard, const TPX510parameters &results);
