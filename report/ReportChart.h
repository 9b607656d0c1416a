#pragma once
// The chart of the report: whatever chart the main window shows, reached
// through this small interface so that the page can be drawn and tested
// without any window.

#include "report/ReportInput.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

// What the report changes on a chart while it puts it on paper.
struct ReportChartLook {
    bool Gradient = true;
    double BottomAxisPenWidth = 1;
    double LeftAxisPenWidth = 1;
    bool LegendVisible = true;
    QString Title;
    QColor TitleColor = Qt::black;
    bool operator==(const ReportChartLook &) const = default;
};

class ReportChart {
public:
    virtual ~ReportChart() = default;
    virtual ReportChartLook Look() const = 0;
    virtual void SetLook(const ReportChartLook &look) = 0;
    // Renders the chart into rect, in device units of the canvas (no
    // transformation is in force when it is called).
    virtual void DrawToCanvas(QPainter &canvas, const QRect &rect) = 0;
};

// Renders the chart into the chart frame of a page drawn by DrawReportPage
// with the same width and height. The chart is given the paper look while it
// renders and its own look back afterwards, with the background gradient on.
// Does nothing without a chart.
void DrawReportChart(QPainter &canvas, QPoint origin, int width, int height, ReportChart *chart);

// The same, after writing the three bearing-ratio levels onto the page.
// Does nothing at all without a chart.
void DrawBearingReportChart(QPainter &canvas, QPoint origin, int width, int height, ReportChart *chart,
                            const ReportBearingTexts &levels);
