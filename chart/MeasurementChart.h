#pragma once
// What the roughness chart shows of a measurement: its fixed look, the
// curves, and the axes and series of each view. The main window drives these
// from its actions; the report builds a chart from them without any window.

#include "chart/RoungnessChart.h"

#include <QBrush>
#include <memory>

class TMeasurement;

enum class ChartView { Unfiltered, Roughness, Both, Bearing };

// The series in the order the chart holds them. The level line marks the
// bearing-ratio level on the curve; it has no legend entry and is only made
// when asked for (otherwise the chart marks the level with its corner marker).
struct ChartSeries {
    QCPGraph *Unfiltered = nullptr;
    QCPGraph *Roughness = nullptr;
    QCPGraph *Bearing = nullptr;
    QCPGraph *LevelLine = nullptr;
};

// The level c in %Rt that the bearing-ratio view starts with.
constexpr double DefaultBearingLevel = 5;

// The chart's background: white into light blue, top to bottom.
QBrush ChartBackground();

// Background, grid, the legend below the plot, the bottom range 0 .. 25 and
// the series, all empty.
ChartSeries SetUpChart(TRoungnessChart &chart, bool levelLine);

// Replaces every series' points by the measurement's curves: the profile and
// the roughness profile in length units, the bearing-ratio curve as material
// ratio against depth in percent. Labels the axes with the units.
void ShowCurves(TRoungnessChart &chart, const ChartSeries &series, const TMeasurement &measurement);

void ShowSeries(const ChartSeries &series, bool unfiltered, bool roughness, bool bearing);

// Axes, margins, marker and legend of a profile view (bearing false) or of the
// bearing-ratio view, then a replot. A profile view gets the vertical range
// of the measuring range back; the bearing-ratio view has depth 0 .. 100 %
// downwards and the profile's peak-to-valley height on the right axis.
void LayOutView(TRoungnessChart &chart, const ChartSeries &series, const TMeasurement &measurement, bool bearing);

// The vertical axis fixed at the measuring range, -limit .. limit.
void FixProfileRange(TRoungnessChart &chart, const TMeasurement &measurement);

// The whole length across, the measuring range up and down, zoom off.
void DefaultViewport(TRoungnessChart &chart, const TMeasurement &measurement);

// Marks level c (in %Rt) at material ratio r on the bearing-ratio curve.
void ShowBearingLevel(TRoungnessChart &chart, const ChartSeries &series, double c, double r);

// The chart as the main window shows a measurement just loaded, switched to
// `view`: what a report of that view draws.
std::unique_ptr<TRoungnessChart> MeasurementChart(const TMeasurement &measurement, ChartView view);
