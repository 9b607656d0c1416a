#include "report/RoungnessChartReport.h"

#include "chart/MeasurementChart.h"
#include "chart/RoungnessChart.h"

#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace {

// The chart's title, when its layout has one.
QCPTextElement *titleOf(const TRoungnessChart &chart)
{
    QCPLayoutGrid *layout = chart.plotLayout();
    for (int i = 0; i < layout->elementCount(); ++i)
        if (auto *title = qobject_cast<QCPTextElement *>(layout->elementAt(i)))
            return title;
    return nullptr;
}

QPen withWidth(QPen pen, double width)
{
    pen.setWidthF(width);
    return pen;
}

// Screen resolution the chart's fonts and pens are made for.
constexpr double ScreenDpi = 96;

} // namespace

RoungnessChartReport::RoungnessChartReport(TRoungnessChart &chart) : Chart(chart) {}

ReportChartLook RoungnessChartReport::Look() const
{
    ReportChartLook look;
    look.Gradient = GradientOn;
    look.BottomAxisPenWidth = Chart.xAxis->basePen().widthF();
    look.LeftAxisPenWidth = Chart.yAxis->basePen().widthF();
    look.LegendVisible = Chart.legend->visible();
    if (const QCPTextElement *title = titleOf(Chart)) {
        look.Title = title->text();
        look.TitleColor = title->textColor();
    }
    return look;
}

void RoungnessChartReport::SetLook(const ReportChartLook &look)
{
    GradientOn = look.Gradient;
    // Without its gradient the chart is transparent: the white page shows,
    // and so do texts written under the chart.
    Chart.setBackground(look.Gradient ? ChartBackground() : QBrush(Qt::NoBrush));
    Chart.xAxis->setBasePen(withWidth(Chart.xAxis->basePen(), look.BottomAxisPenWidth));
    Chart.yAxis->setBasePen(withWidth(Chart.yAxis->basePen(), look.LeftAxisPenWidth));
    Chart.legend->setVisible(look.LegendVisible);
    if (QCPTextElement *title = titleOf(Chart)) {
        title->setText(look.Title);
        title->setTextColor(look.TitleColor);
    }
    // The screen shows the new look at the next event-loop turn: one replot
    // however often the look changes meanwhile.
    Chart.replot(QCustomPlot::rpQueuedReplot);
}

void RoungnessChartReport::DrawToCanvas(QPainter &canvas, const QRect &rect)
{
    // Laid out as a screen chart of the same physical size, then scaled up:
    // tick labels and pens keep their proportions on a fine printer.
    const QPaintDevice *device = canvas.device();
    const double scale = device ? std::max(1.0, device->logicalDpiX() / ScreenDpi) : 1.0;
    canvas.save();
    canvas.translate(rect.topLeft());
    canvas.scale(scale, scale);
    const QRect screenRect(0, 0, static_cast<int>(std::lround(rect.width() / scale)),
                           static_cast<int>(std::lround(rect.height() / scale)));
    Chart.DrawToCanvas(canvas, screenRect);
    canvas.restore();
}

ReportSeries RoungnessChartReport::ShownSeries() const
{
    auto shown = [this](int i) { return i < Chart.graphCount() && Chart.graph(i)->visible(); };
    return {shown(0), shown(1), shown(2)};
}
