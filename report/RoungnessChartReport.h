#pragma once
// The main window's chart as the report sees it: its paper look, the series
// that are shown, and its picture rendered at screen scale into a rectangle
// of any device.

#include "report/ReportChart.h"

class TRoungnessChart;

class RoungnessChartReport : public ReportChart {
public:
    explicit RoungnessChartReport(TRoungnessChart &chart);

    ReportChartLook Look() const override;
    void SetLook(const ReportChartLook &look) override;
    void DrawToCanvas(QPainter &canvas, const QRect &rect) override;

    // Series 0 to 2 of the chart: unfiltered, roughness and bearing ratio.
    ReportSeries ShownSeries() const;

private:
    TRoungnessChart &Chart;
    bool GradientOn = true; // the chart starts with its gradient
};
