// Chart drawing while a cursor is dragged over 3000 + 2500 points: the cost
// of one mouse move (pick, snap, repaint of the cursors, paint of the
// window) and, for comparison, a full replot of the curves. Offscreen.

#include "bench/BenchFigure.h"
#include "chart/RoungnessChart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile95(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() * 95 / 100];
}

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    TRoungnessChart chart;
    chart.resize(857, 480);
    QCPGraph *unfiltered = chart.addGraph();
    QCPGraph *roughness = chart.addGraph();
    unfiltered->setPen(QPen(Qt::red));
    roughness->setPen(QPen(QColor(0, 128, 0)));
    for (int i = 0; i < 3000; ++i) {
        const double x = i * 4.0 / 3000;
        unfiltered->addData(x, 3 * std::sin(i * 0.21) + 1.2 * std::sin(i * 0.013) + (i % 7) * 0.15);
        if (i >= 250 && i < 2750)
            roughness->addData(x, 3 * std::sin(i * 0.21) + (i % 7) * 0.15);
    }
    chart.xAxis->setRange(0, 4);
    chart.yAxis->setRange(-40, 40);
    chart.SetZoomMode(false);
    chart.show();
    chart.replot();
    app.processEvents();

    chart.ShowPosition1 = chart.ShowPosition2 = 1;
    chart.Position1 = {1, 0};
    chart.Position2 = {3, 0};
    const QRect plot = chart.PlotRect();

    const int moves = 400;
    std::vector<double> drag, replot;
    QElapsedTimer clock;
    for (int i = 0; i < moves; ++i) {
        const int x = plot.left() + 40 + (i % 200) * (plot.width() - 80) / 200;
        const QPoint mouse(x, chart.ValueToPixel({chart.xAxis->pixelToCoord(x), 0}).y());
        chart.Position1.x = chart.xAxis->pixelToCoord(x - 3); // the cursor follows the mouse
        clock.start();
        chart.MoveActivePosition(mouse);
        chart.repaint(); // the window paints at once, as on a real move
        drag.push_back(clock.nsecsElapsed() / 1e6);
    }
    for (int i = 0; i < moves / 4; ++i) {
        clock.start();
        chart.replot(QCustomPlot::rpImmediateRefresh);
        replot.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("chart_bench: 3000 + 2500 points, 857 x 480 pixels, offscreen\n");
    std::printf("  cursor drag (pick, snap, repaint): median %.3f ms, 95th percentile %.3f ms (%d moves)\n",
                median(drag), percentile95(drag), moves);
    std::printf("  full replot of the curves:         median %.3f ms, 95th percentile %.3f ms (%d replots)\n",
                median(replot), percentile95(replot), moves / 4);
    BenchFigure("cursor drag step, median", median(drag), "ms", "<=16");
    BenchFigure("cursor drag step, 95th percentile", percentile95(drag), "ms");
    BenchFigure("full replot, median", median(replot), "ms");
    return 0;
}
