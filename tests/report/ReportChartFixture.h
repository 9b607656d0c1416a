#pragma once
// A main chart as the main window sets it up: four series, a roughness
// profile shown, fixed axes, legend and title.

#include "chart/RoungnessChart.h"

#include <cmath>
#include <memory>

inline std::unique_ptr<TRoungnessChart> roughnessChart()
{
    auto chart = std::make_unique<TRoungnessChart>();
    chart->resize(857, 400);
    for (int i = 0; i < 4; ++i)
        chart->addGraph();
    QVector<double> x, y;
    for (int i = 0; i < 2500; ++i) {
        x << i * 0.002;
        y << 1.5 * std::sin(i * 0.05) + 0.4 * std::sin(i * 0.31);
    }
    chart->graph(1)->setData(x, y);
    chart->graph(1)->setPen(QPen(QColor(0, 128, 0)));
    chart->graph(1)->setName(QStringLiteral("滤波轮廓"));
    chart->graph(0)->setVisible(false);
    chart->graph(2)->setVisible(false);
    chart->graph(3)->setVisible(false);
    chart->xAxis->setRange(0, 5);
    chart->yAxis->setRange(-4, 4);
    chart->legend->setVisible(true);
    chart->plotLayout()->insertRow(0);
    chart->plotLayout()->addElement(0, 0, new QCPTextElement(chart.get(), QStringLiteral("曲线")));
    chart->replot();
    return chart;
}
