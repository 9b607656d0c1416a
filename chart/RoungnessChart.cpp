#include "chart/RoungnessChart.h"

#include <QPicture>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

const QString AdditionsLayerName = QStringLiteral("additions");

// Pixel coordinates of far-away values are clamped, so rounding stays defined.
int toPixel(double coordinate)
{
    if (!std::isfinite(coordinate))
        return std::numeric_limits<int>::min() / 2;
    return static_cast<int>(std::lround(std::clamp(coordinate, -1e9, 1e9)));
}

// Four minor ticks between labels, whatever the label step.
class FourMinorTicks : public QCPAxisTicker {
protected:
    int getSubTickCount(double) override { return 4; }
};

} // namespace

// The cursor cross hairs, zero line and marker live on a buffered layer of
// their own, so moving a cursor repaints them without drawing the curves.
class TChartAdditions : public QCPLayerable {
public:
    explicit TChartAdditions(TRoungnessChart *chart) : QCPLayerable(chart, AdditionsLayerName), Chart(chart) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter *painter) const override { painter->setAntialiasing(false); }
    void draw(QCPPainter *painter) override { Chart->PaintAdditions(*painter); }

private:
    TRoungnessChart *Chart;
};

TRoungnessChart::TRoungnessChart(QWidget *owner) : QCustomPlot(owner)
{
    addLayer(AdditionsLayerName, layer(QStringLiteral("legend")), limAbove);
    AdditionsLayer = layer(AdditionsLayerName);
    AdditionsLayer->setMode(QCPLayer::lmBuffered);
    new TChartAdditions(this); // owned by the chart

    for (QCPAxis *axis : {xAxis, yAxis, yAxis2})
        axis->setTicker(QSharedPointer<QCPAxisTicker>(new FourMinorTicks));
    axisRect()->setRangeZoomAxes(xAxis, yAxis);
    setSelectionRectMode(QCP::srmZoom); // the library's default: zoom on

    connect(this, &QCustomPlot::beforeReplot, this, &TRoungnessChart::RescaleAutomaticAxes);
    connect(selectionRect(), &QCPSelectionRect::accepted, this, [this] {
        BottomAutomatic = false;
        LeftAutomatic = false;
    });
    ApplyMargins(size());
}

QPoint TRoungnessChart::ValueToPixel(TDoublePoint value) const
{
    return QPoint(toPixel(xAxis->coordToPixel(value.x)), toPixel(yAxis->coordToPixel(value.y)));
}

TDoublePoint TRoungnessChart::PixelToValue(QPoint pixel) const
{
    return {xAxis->pixelToCoord(pixel.x()), yAxis->pixelToCoord(pixel.y())};
}

void TRoungnessChart::PixelToValues(QPoint pixel, double &x, double &y) const
{
    TDoublePoint value = PixelToValue(pixel);
    x = value.x;
    y = value.y;
}

double TRoungnessChart::PixelDistance(QPoint a, QPoint b)
{
    const int64_t dx = int64_t(a.x()) - b.x();
    const int64_t dy = int64_t(a.y()) - b.y();
    return std::sqrt(static_cast<double>(dx * dx + dy * dy));
}

void TRoungnessChart::SnapToSeries(QCPGraph *series, TDoublePoint q, TDoublePoint &r, bool &found) const
{
    r = q;
    found = false;
    // A hidden curve offers nothing to snap to.
    if (!series || !series->realVisibility() || series->dataCount() == 0)
        return;
    QVariant details;
    const double distance = series->selectTest(ValueToPixel(q), false, &details);
    if (distance < 0 || distance > selectionTolerance())
        return;
    const QCPDataSelection selection = details.value<QCPDataSelection>();
    if (selection.isEmpty())
        return;
    const int index = selection.dataRange().begin();
    if (index < 0 || index >= series->dataCount())
        return;
    const auto point = series->data()->at(index);
    r = {point->key, point->value};
    found = true;
}

int TRoungnessChart::HitTestCursor(QPoint pixel)
{
    const double d1 = PixelDistance(ValueToPixel(Position1), pixel);
    const double d2 = PixelDistance(ValueToPixel(Position2), pixel);
    if (d1 < d2 && d1 < HitRadius)
        ActivePosition = 1;
    else if (d2 < d1 && d2 < HitRadius)
        ActivePosition = 2;
    else
        ActivePosition = 0;
    return ActivePosition;
}

void TRoungnessChart::MoveActivePosition(QPoint pixel)
{
    const int hit = HitTestCursor(pixel);
    const TDoublePoint mouse = PixelToValue(pixel);
    TDoublePoint target = mouse;
    for (int i = 0; i < graphCount(); ++i) {
        TDoublePoint snapped;
        bool found = false;
        SnapToSeries(graph(i), mouse, snapped, found);
        if (found)
            target = snapped; // the last curve with a point under the mouse wins
    }
    if (hit == 1)
        Position1 = target;
    else if (hit == 2)
        Position2 = target;
    else
        return;
    RepaintCursors();
}

QRect TRoungnessChart::PlotRect() const
{
    // The library maps a vertical axis onto the rows top - 1 .. bottom of its
    // axis rectangle: the upper limit lies on the first row of this one.
    const QRect r = axisRect()->rect();
    return QRect(r.left(), r.top() - 1, r.width(), r.height());
}

bool TRoungnessChart::InsidePlot(QPoint pixel) const
{
    // Left and top edges belong to the rectangle, right and bottom do not.
    return PlotRect().contains(pixel);
}

void TRoungnessChart::DrawCursor(QPainter &canvas, TDoublePoint position, const QColor &colour) const
{
    const QPoint p = ValueToPixel(position);
    if (!InsidePlot(p))
        return;
    const QRect plot = PlotRect();
    canvas.setPen(QPen(colour, 1, Qt::SolidLine));
    canvas.drawLine(p.x(), plot.top(), p.x(), plot.bottom());
    canvas.drawLine(plot.left(), p.y(), plot.right(), p.y());
    canvas.setBrush(colour);
    canvas.drawEllipse(QRect(QPoint(p.x() - 3, p.y() - 3), QPoint(p.x() + 3, p.y() + 3)));
}

void TRoungnessChart::DrawCornerMarker(QPainter &canvas, double y, double x) const
{
    const QPoint p = ValueToPixel({x, y});
    if (!InsidePlot(p))
        return;
    const QRect plot = PlotRect();
    canvas.setPen(QPen(Red, 1, Qt::SolidLine));
    canvas.drawLine(plot.left(), p.y(), p.x(), p.y());
    canvas.drawLine(p.x(), p.y(), p.x(), plot.bottom());
}

void TRoungnessChart::DrawZeroLine(QPainter &canvas, int penWidth, const QColor &colour) const
{
    const QPoint origin = ValueToPixel({0, 0});
    if (!InsidePlot(origin))
        return;
    const QRect plot = PlotRect();
    canvas.setPen(QPen(colour, penWidth, Qt::SolidLine));
    canvas.drawLine(plot.left(), origin.y(), plot.right(), origin.y());
}

void TRoungnessChart::PaintAdditions(QPainter &canvas) const
{
    if (ShowPosition1 == 1)
        DrawCursor(canvas, Position1, Red);
    if (ShowPosition2 == 1)
        DrawCursor(canvas, Position2, Green);
    if (MarkerMode == 1)
        DrawCornerMarker(canvas, MarkerPoint.y, MarkerPoint.x);
    if (MarkerMode == 0)
        DrawZeroLine(canvas, 1, Navy);
}

void TRoungnessChart::RepaintCursors()
{
    AdditionsLayer->replot();
}

void TRoungnessChart::DrawToCanvas(QPainter &canvas, const QRect &rect)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    // A printed curve must not be thinned to screen pixels.
    std::vector<bool> sampling;
    for (int i = 0; i < graphCount(); ++i) {
        sampling.push_back(graph(i)->adaptiveSampling());
        graph(i)->setAdaptiveSampling(false);
    }
    AdditionsLayer->setVisible(false);
    ApplyMargins(rect.size());

    // Recorded at screen resolution and replayed through the caller's
    // transformation, so fonts and lines keep their proportions on any device.
    QPicture picture;
    {
        QCPPainter painter(&picture);
        painter.setModes(QCPPainter::pmVectorized | QCPPainter::pmNoCaching | QCPPainter::pmNonCosmetic);
        toPainter(&painter, rect.width(), rect.height());
    }
    // Replaying a picture scales it by the ratio of the two resolutions;
    // undo that, so the painter's own transformation alone decides the size.
    canvas.save();
    canvas.translate(rect.topLeft());
    if (QPaintDevice *device = canvas.device())
        canvas.scale(double(picture.logicalDpiX()) / device->logicalDpiX(),
                     double(picture.logicalDpiY()) / device->logicalDpiY());
    canvas.drawPicture(0, 0, picture);
    canvas.restore();

    AdditionsLayer->setVisible(true);
    for (int i = 0; i < graphCount(); ++i)
        graph(i)->setAdaptiveSampling(sampling[static_cast<size_t>(i)]);
    ApplyMargins(size());
    replot(); // the export left the layout at the export size
}

void TRoungnessChart::SetAxisAutomatic(QCPAxis *axis, bool automatic)
{
    if (axis == xAxis)
        BottomAutomatic = automatic;
    else if (axis == yAxis)
        LeftAutomatic = automatic;
    else if (axis == yAxis2)
        RightAutomatic = automatic;
}

bool TRoungnessChart::AxisAutomatic(const QCPAxis *axis) const
{
    if (axis == xAxis)
        return BottomAutomatic;
    if (axis == yAxis)
        return LeftAutomatic;
    if (axis == yAxis2)
        return RightAutomatic;
    return false;
}

void TRoungnessChart::RescaleAutomaticAxes()
{
    if (BottomAutomatic)
        xAxis->rescale(true);
    if (LeftAutomatic)
        yAxis->rescale(true);
    if (RightAutomatic)
        yAxis2->rescale(true);
}

void TRoungnessChart::SetZoomMode(bool on)
{
    setSelectionRectMode(on ? QCP::srmZoom : QCP::srmNone);
}

bool TRoungnessChart::ZoomMode() const
{
    return selectionRectMode() == QCP::srmZoom;
}

void TRoungnessChart::SetMarginPercents(int left, int top, int right, int bottom)
{
    Margins = {left, top, right, bottom};
    ApplyMargins(size());
}

void TRoungnessChart::ApplyMargins(QSize size)
{
    plotLayout()->setMargins(QMargins(size.width() * Margins[0] / 100, size.height() * Margins[1] / 100,
                                      size.width() * Margins[2] / 100, size.height() * Margins[3] / 100));
}

void TRoungnessChart::resizeEvent(QResizeEvent *event)
{
    ApplyMargins(event->size());
    QCustomPlot::resizeEvent(event);
}

QCPAxis *TRoungnessChart::AxisAt(QPoint pixel) const
{
    for (QCPAxis *axis : {xAxis, yAxis, yAxis2, xAxis2})
        if (axis->visible() && axis->getPartAt(pixel) != QCPAxis::spNone)
            return axis;
    return nullptr;
}

void TRoungnessChart::mousePressEvent(QMouseEvent *event)
{
    // Checked here rather than through the library's axis click, which the
    // rubber band swallows while zoom mode is on.
    if (QCPAxis *axis = AxisAt(event->position().toPoint())) {
        emit AxisClicked(axis, event);
        return;
    }
    QCustomPlot::mousePressEvent(event);
}
