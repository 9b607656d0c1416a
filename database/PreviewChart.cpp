#include "database/PreviewChart.h"

#include "measurement/Curves.h"

#include <algorithm>
#include <cmath>

TPreviewChart::TPreviewChart(QWidget *parent) : QCustomPlot(parent)
{
    setBackground(Qt::white);
    legend->setVisible(false);
    addGraph();
    graph(0)->setPen(QPen(Qt::red, 1));
    graph(0)->setAdaptiveSampling(true);
    QFont font = this->font();
    font.setPixelSize(11);
    for (QCPAxis *axis : {xAxis, yAxis}) {
        axis->setTickLabelFont(font);
        axis->setLabelFont(font);
    }
    yAxis->setRange(-1, 1);
    setNoAntialiasingOnDrag(true);
}

void TPreviewChart::ShowProfile(const TMeasurement &measurement)
{
    const TCurve profile = CurvesOf(measurement).Profile;
    double m = 0;
    for (double y : profile.Y)
        m = std::max(m, std::fabs(y));
    graph(0)->setData(profile.X, profile.Y, true);
    // An all-zero profile gets a visible range instead of an empty one.
    if (m > 0)
        yAxis->setRange(-2 * m, 2 * m);
    else
        yAxis->setRange(-1, 1);
    if (profile.size() > 0)
        xAxis->setRange(profile.X.first(), std::max(profile.X.last(), profile.X.first() + 1e-9));
    replot();
}

int TPreviewChart::PointCount() const
{
    return graph(0)->dataCount();
}

void TPreviewChart::Clear()
{
    graph(0)->data()->clear();
    yAxis->setRange(-1, 1);
    replot();
}
