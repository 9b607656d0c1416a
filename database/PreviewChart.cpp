#include "database/PreviewChart.h"

#include "link/ComToPX510Unit.h"

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

void TPreviewChart::ShowProfile(const TComToPX510 &session)
{
    const int n = std::clamp(session.SampleCount, 0, TComToPX510::MaxSamples);
    const double spacing = session.SampleSpacing();
    QVector<double> x(n), y(n);
    double m = 0;
    for (int i = 0; i < n; ++i) {
        x[i] = i * spacing;
        y[i] = session.Profile[size_t(i)];
        m = std::max(m, std::fabs(y[i]));
    }
    graph(0)->setData(x, y, true);
    // An all-zero profile gets a visible range instead of an empty one.
    if (m > 0)
        yAxis->setRange(-2 * m, 2 * m);
    else
        yAxis->setRange(-1, 1);
    if (n > 0)
        xAxis->setRange(x.first(), std::max(x.last(), x.first() + 1e-9));
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
