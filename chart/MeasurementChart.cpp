#include "chart/MeasurementChart.h"

#include "measurement/Curves.h"
#include "measurement/Measurement.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// The chart's series: the bearing curve sorted by material ratio across
// (depth in percent down; a stable sort keeps equal ratios in depth order).
struct Curves {
    QVector<double> ProfileX, ProfileY, RoughnessX, RoughnessY, BearingX, BearingY;
};

Curves curvesOf(const TMeasurement &m)
{
    const TMeasurementCurves points = CurvesOf(m);
    Curves c{points.Profile.X, points.Profile.Y, points.Roughness.X, points.Roughness.Y, {}, {}};
    std::vector<std::pair<double, double>> bearing;
    for (qsizetype i = 0; i < points.Bearing.size(); ++i)
        bearing.emplace_back(points.Bearing.X[i], points.Bearing.Y[i]);
    std::stable_sort(bearing.begin(), bearing.end(), [](auto &a, auto &b) { return a.first < b.first; });
    for (const auto &[ratio, depth] : bearing) {
        c.BearingX << ratio;
        c.BearingY << depth;
    }
    return c;
}

QString heightUnit(const TMeasurement &m)
{
    QString text;
    m.HeightUnitText(text);
    return text;
}

QString lengthUnit(const TMeasurement &m)
{
    QString text;
    m.LengthUnitText(text);
    return text;
}

double peakToValley(const TMeasurement &m)
{
    double minimum = 0, maximum = 0;
    m.GetProfileMinMax(minimum, maximum);
    return std::fabs(maximum - minimum);
}

void syncLegend(TRoungnessChart &chart, const ChartSeries &series)
{
    // The legend lists the shown curves, in series order.
    chart.legend->clearItems();
    for (QCPGraph *graph : {series.Unfiltered, series.Roughness, series.Bearing})
        if (graph->visible())
            graph->addToLegend();
}

void showView(TRoungnessChart &chart, const ChartSeries &series, const TMeasurement &m, ChartView view)
{
    ShowSeries(series, view == ChartView::Unfiltered || view == ChartView::Both,
               view == ChartView::Roughness || view == ChartView::Both, view == ChartView::Bearing);
    LayOutView(chart, series, m, view == ChartView::Bearing);
}

} // namespace

QBrush ChartBackground()
{
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(162, 208, 255));
    return QBrush(gradient);
}

ChartSeries SetUpChart(TRoungnessChart &chart, bool levelLine)
{
    chart.setBackground(ChartBackground());
    chart.axisRect()->setBackground(Qt::NoBrush);
    for (QCPAxis *axis : {chart.xAxis, chart.yAxis, chart.yAxis2}) {
        axis->grid()->setPen(QPen(Qt::black, 0, Qt::DotLine));
        axis->grid()->setZeroLinePen(Qt::NoPen);
    }
    chart.yAxis2->setVisible(false);
    chart.xAxis->setRange(0, 25);

    // The legend sits below the plot, centred, and lists the series by title.
    chart.legend->setVisible(true);
    auto *legendRow = new QCPLayoutGrid;
    chart.plotLayout()->addElement(1, 0, legendRow);
    chart.plotLayout()->setRowStretchFactor(1, 0.001);
    legendRow->addElement(0, 0, new QCPLayoutElement(&chart));
    legendRow->addElement(0, 1, chart.legend);
    legendRow->addElement(0, 2, new QCPLayoutElement(&chart));
    legendRow->setColumnStretchFactors({1, 0.001, 1});
    chart.legend->setFillOrder(QCPLegend::foColumnsFirst);
    chart.legend->setBrush(QColor(255, 255, 255, 160));
    chart.legend->setBorderPen(Qt::NoPen);
    chart.legend->setMargins(QMargins(6, 2, 6, 2));

    auto series = [&chart](const QString &title, const QColor &colour) {
        QCPGraph *graph = chart.addGraph();
        graph->setName(title);
        graph->setPen(QPen(colour, 1));
        graph->setLineStyle(QCPGraph::lsLine);
        return graph;
    };
    ChartSeries made;
    made.Unfiltered = series(QStringLiteral("未滤波轮廓"), Qt::red);
    made.Roughness = series(QStringLiteral("滤波轮廓"), QColor(0, 128, 0));
    made.Bearing = series(QStringLiteral("支撑率曲线"), QColor(0, 64, 128));
    if (levelLine) {
        made.LevelLine = series(QString(), QColor(255, 0, 255));
        made.LevelLine->removeFromLegend();
    }
    chart.SetMarginPercents(5, 5, 5, 0);
    return made;
}

void ShowCurves(TRoungnessChart &chart, const ChartSeries &series, const TMeasurement &measurement)
{
    for (int i = 0; i < chart.graphCount(); ++i)
        chart.graph(i)->data()->clear();
    const Curves curves = curvesOf(measurement);
    series.Unfiltered->setData(curves.ProfileX, curves.ProfileY, true);
    series.Roughness->setData(curves.RoughnessX, curves.RoughnessY, true);
    series.Bearing->setData(curves.BearingX, curves.BearingY, true);
    chart.replot();
    chart.yAxis->setLabel(heightUnit(measurement));
    chart.xAxis->setLabel(lengthUnit(measurement));
}

void ShowSeries(const ChartSeries &series, bool unfiltered, bool roughness, bool bearing)
{
    series.Unfiltered->setVisible(unfiltered);
    series.Roughness->setVisible(roughness);
    series.Bearing->setVisible(bearing);
}

void LayOutView(TRoungnessChart &chart, const ChartSeries &series, const TMeasurement &measurement, bool bearing)
{
    if (bearing) {
        series.Unfiltered->setVisible(false);
        series.Roughness->setVisible(false);
        series.Bearing->setVisible(true);
        if (series.LevelLine)
            series.LevelLine->setVisible(true);
        chart.yAxis->setRangeReversed(true);
        chart.yAxis->setLabel(QStringLiteral("c"));
        chart.xAxis->setLabel(QStringLiteral("Rmr"));
        // Without a level line the corner marker shows the level.
        chart.MarkerMode = series.LevelLine ? 0 : 1;
        chart.SetMarginPercents(20, 5, 30, 0);
        const double span = peakToValley(measurement);
        // An empty profile has no height; the axis then shows 0 .. 1.
        chart.yAxis2->setRange(0, span > 0 ? span : 1);
        chart.yAxis2->setVisible(true);
        chart.SetAxisAutomatic(chart.yAxis2, false);
        chart.SetAxisAutomatic(chart.yAxis, false);
        chart.yAxis->setRange(0, 100);
    } else {
        series.Bearing->setVisible(false);
        if (series.LevelLine)
            series.LevelLine->setVisible(false);
        chart.yAxis->setRangeReversed(false);
        chart.MarkerMode = 0;
        chart.yAxis->setLabel(heightUnit(measurement));
        chart.xAxis->setLabel(lengthUnit(measurement));
        chart.SetMarginPercents(5, 5, 5, 0);
        // The peak-to-valley scale belongs to the bearing-ratio curve alone.
        chart.yAxis2->setVisible(false);
        FixProfileRange(chart, measurement);
    }
    syncLegend(chart, series);
    chart.replot();
}

void FixProfileRange(TRoungnessChart &chart, const TMeasurement &measurement)
{
    const double maximum = measurement.RangeLimit() * 1000;
    chart.SetAxisAutomatic(chart.yAxis, false);
    chart.yAxis->setRange(-maximum, maximum);
    chart.replot();
}

void DefaultViewport(TRoungnessChart &chart, const TMeasurement &measurement)
{
    chart.SetAxisAutomatic(chart.xAxis, true);
    chart.SetZoomMode(false);
    FixProfileRange(chart, measurement);
}

void ShowBearingLevel(TRoungnessChart &chart, const ChartSeries &series, double c, double r)
{
    if (series.LevelLine) {
        series.LevelLine->data()->clear();
        series.LevelLine->addData({0, r, r}, {c, c, 100}, true);
        chart.replot();
    } else {
        chart.MarkerPoint = {r, c};
        chart.RepaintCursors();
    }
}

std::unique_ptr<TRoungnessChart> MeasurementChart(const TMeasurement &measurement, ChartView view)
{
    auto chart = std::make_unique<TRoungnessChart>();
    chart->resize(857, 480);
    const ChartSeries series = SetUpChart(*chart, true);
    // As a newly loaded measurement is shown: the roughness view at the
    // default viewport, then the view asked for.
    ShowCurves(*chart, series, measurement);
    showView(*chart, series, measurement, ChartView::Roughness);
    DefaultViewport(*chart, measurement);
    showView(*chart, series, measurement, view);
    if (view == ChartView::Bearing)
        ShowBearingLevel(*chart, series, DefaultBearingLevel, measurement.MaterialRatioAtDepth(DefaultBearingLevel));
    return chart;
}
