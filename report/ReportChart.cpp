#include "report/ReportChart.h"

#include "report/ReportPage.h"

#include <QPainter>

namespace {

// Puts the chart's own look back however the rendering ends.
class LookRestorer {
public:
    LookRestorer(ReportChart &chart, const ReportChartLook &look) : Chart(chart), Saved(look) {}
    ~LookRestorer()
    {
        ReportChartLook back = Saved;
        back.Gradient = true; // always on after the report, whatever it was before
        Chart.SetLook(back);
    }
    LookRestorer(const LookRestorer &) = delete;
    LookRestorer &operator=(const LookRestorer &) = delete;

private:
    ReportChart &Chart;
    ReportChartLook Saved;
};

// Saves the painter's state and puts it back however the drawing ends.
class PainterStateKeeper {
public:
    explicit PainterStateKeeper(QPainter &canvas) : Canvas(canvas) { Canvas.save(); }
    ~PainterStateKeeper() { Canvas.restore(); }
    PainterStateKeeper(const PainterStateKeeper &) = delete;
    PainterStateKeeper &operator=(const PainterStateKeeper &) = delete;

private:
    QPainter &Canvas;
};

} // namespace

void DrawReportChart(QPainter &canvas, QPoint origin, int width, int height, ReportChart *chart)
{
    if (!chart)
        return;
    const ReportChartLook own = chart->Look();
    ReportChartLook paper = own;
    paper.Gradient = false;
    paper.BottomAxisPenWidth = 0;
    paper.LeftAxisPenWidth = 0;
    paper.LegendVisible = false;
    paper.TitleColor = Qt::black;

    LookRestorer restorer(*chart, own);
    chart->SetLook(paper);
    // The chart works in device units: the page mapping is set aside meanwhile.
    PainterStateKeeper keeper(canvas);
    canvas.resetTransform();
    chart->DrawToCanvas(canvas, ReportChartRect(origin, width, height));
}

void DrawBearingReportChart(QPainter &canvas, QPoint origin, int width, int height, ReportChart *chart,
                            const ReportBearingTexts &levels)
{
    if (!chart)
        return;
    canvas.save();
    canvas.setPen(QPen(Qt::black, 0, Qt::SolidLine));
    canvas.setBrush(Qt::NoBrush);
    // The face the page left on the canvas, 30 points at screen resolution.
    QFont font(QStringLiteral("黑体"));
    font.setPixelSize(40);
    canvas.setFont(font);
    DrawPageText(canvas, font, QPointF(2250, 910),
                 QStringLiteral("c=") + levels.LevelPercentRt + QStringLiteral(" %Rt"));
    DrawPageText(canvas, font, QPointF(2250, 1010), QStringLiteral("c=") + levels.LevelHeight + QStringLiteral(" um"));
    DrawPageText(canvas, font, QPointF(2250, 1110),
                 QStringLiteral("Rmr=") + levels.MaterialRatio + QStringLiteral(" %"));
    canvas.restore();
    DrawReportChart(canvas, origin, width, height, chart);
}
