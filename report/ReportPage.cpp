#include "report/ReportPage.h"

#include "measurement/Measurement.h"
#include "report/ReportTexts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

struct Line {
    int x1, y1, x2, y2;
};

// The frame of the form, in drawing order.
constexpr Line FrameLines[] = {
    {350, 170, 2800, 170},                                                      // top border
    {630, 270, 2800, 270},                                                      // top of the header-field row
    {630, 330, 2800, 330},                                                      // bottom of the header-field row
    {350, 440, 2800, 440},                                                      // bottom of the title band
    {350, 1860, 2800, 1860},                                                    // top of the condition row
    {350, 1930, 2800, 1930},                                                    // bottom border
    {350, 170, 350, 1930},                                                      // left border
    {630, 170, 630, 440},                                                       // right edge of the logo box
    {2800, 170, 2800, 1930},                                                    // right border
    {1170, 270, 1170, 330},                                                     // header cell dividers
    {1710, 270, 1710, 330},   {2160, 270, 2160, 330},   {840, 1860, 840, 1930}, // condition cell dividers
    {1330, 1860, 1330, 1930}, {1820, 1860, 1820, 1930}, {2310, 1860, 2310, 1930},
    {350, 740, 2800, 740}, // bottom of the results block, top of the chart area
};

const QString Song = QStringLiteral("宋体");
const QString Hei = QStringLiteral("黑体");

void drawTextAt(QPainter &canvas, int x, int y, const QString &text)
{
    DrawPageText(canvas, canvas.font(), QPointF(x, y), text);
}

void drawFrame(QPainter &canvas)
{
    canvas.setPen(QPen(Qt::white, 0));
    canvas.setBrush(Qt::white);
    canvas.drawRect(0, 0, ReportPageWidth, ReportPageHeight);

    canvas.setPen(QPen(Qt::black, 0, Qt::SolidLine)); // the thinnest pen: one device pixel
    for (const Line &line : FrameLines)
        canvas.drawLine(line.x1, line.y1, line.x2, line.y2);
    canvas.setBrush(Qt::NoBrush);
}

void drawHeader(QPainter &canvas, const ReportPageInput &input)
{
    if (!input.Logo.isNull())
        canvas.drawImage(QRectF(360, 180, 260, 250), input.Logo);

    canvas.setFont(ReportCellFont(Song, 60, true));
    drawTextAt(canvas, 1350, 190, QStringLiteral("PX510手持粗糙度仪分析系统"));

    canvas.setFont(ReportCellFont(Song, 45));
    const ReportHeader &h = input.Header;
    drawTextAt(canvas, 640, 280, QStringLiteral("编号：") + h.Id);
    drawTextAt(canvas, 1180, 280, QStringLiteral("工件名称：") + h.WorkName);
    drawTextAt(canvas, 1720, 280, QStringLiteral("操作者：") + h.Operator);
    drawTextAt(canvas, 2170, 280, QStringLiteral("日期：") + h.DateTime);
}

void drawConditionsAndTitle(QPainter &canvas, const ReportPageInput &input)
{
    QString cutoff;
    if (input.Session)
        input.Session->CutoffText(cutoff);
    const auto &panels = input.StatusPanels;
    drawTextAt(canvas, 360, 1870, panels[0] + QStringLiteral("x") + cutoff);
    drawTextAt(canvas, 850, 1870, panels[1]);
    drawTextAt(canvas, 1340, 1870, panels[2]);
    drawTextAt(canvas, 1830, 1870, panels[3]);
    drawTextAt(canvas, 2320, 1870, panels[4]);

    drawTextAt(canvas, 1470, 365, ReportCurveTitle(input.Series));
}

void drawResults(QPainter &canvas, const ReportPageInput &input)
{
    if (!input.Session)
        return;
    canvas.setFont(ReportCellFont(Hei, 40));
    for (const ReportCell &cell :
         ReportResultCells(input.Session->Conditions.Standard, input.Session->InstrumentParams))
        drawTextAt(canvas, cell.At.x(), cell.At.y(), cell.Text);
}

void drawBindingLine(QPainter &canvas)
{
    // Dashes in page units, so that they stay visible on a fine printer too.
    const double unit = canvas.combinedTransform().m22();
    QPen dashed(Qt::black, 0, Qt::DashLine);
    dashed.setDashPattern({std::max(3.0, 20 * unit), std::max(2.0, 12 * unit)});
    canvas.setPen(dashed);
    canvas.drawLine(150, 0, 150, ReportPageHeight);

    // A font of its own, with no face chosen; the canvas keeps its font.
    canvas.setPen(QPen(Qt::black, 0));
    DrawPageText(canvas, ReportCellFont(QFont().family(), 30), QPointF(100, 1050), QStringLiteral("装订线"),
                 PageTextDirection::Upward);
}

} // namespace

void SetReportPageMapping(QPainter &canvas, int width, int height)
{
    canvas.setWindow(0, 0, ReportPageWidth, ReportPageHeight);
    canvas.setViewport(0, 0, width, height);
}

QFont ReportCellFont(const QString &family, int cellHeight, bool bold)
{
    // Measure the family once at a large size and scale, so that the character
    // cell, not the em square, is the given height.
    constexpr int probe = 1000;
    QFont font(family);
    font.setPixelSize(probe);
    font.setBold(bold);
    const double cell = QFontMetricsF(font).height();
    const int size = cell > 0 ? static_cast<int>(std::lround(cellHeight * probe / cell)) : cellHeight;
    font.setPixelSize(std::max(1, size));
    return font;
}

void DrawPageText(QPainter &canvas, const QFont &pageFont, QPointF topLeft, const QString &text,
                  PageTextDirection direction)
{
    if (text.isEmpty())
        return;
    const QTransform mapping = canvas.combinedTransform();
    const double across = std::hypot(mapping.m11(), mapping.m12());
    const double down = std::hypot(mapping.m21(), mapping.m22());
    const bool upward = direction == PageTextDirection::Upward;
    // The glyphs' height follows the page's scale along which they stand.
    const double height = upward ? across : down;
    const double length = upward ? down : across;
    if (height <= 0 || length <= 0)
        return;
    const QPaintDevice *device = canvas.device();
    const double dpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;

    QFont font = pageFont;
    font.setPointSizeF(pageFont.pixelSize() * height * 72 / dpi);
    font.setStretch(std::clamp(static_cast<int>(std::lround(100 * length / height)), 1, 4000));
    const QPointF at = mapping.map(topLeft);

    canvas.save();
    canvas.resetTransform();
    canvas.setFont(font);
    canvas.translate(at);
    if (upward)
        canvas.rotate(-90);
    canvas.drawText(QPointF(0, QFontMetricsF(font, device).ascent()), text);
    canvas.restore();
}

QRect ReportChartRect(QPoint origin, int width, int height)
{
    const int left = origin.x() + width * 350 / ReportPageWidth + 10;
    const int top = origin.y() + height * 740 / ReportPageHeight + 10;
    const int right = origin.x() + width * 2800 / ReportPageWidth - 10;
    const int bottom = origin.y() + height * 1860 / ReportPageHeight - 10;
    return QRect(left, top, right - left, bottom - top);
}

void DrawReportPage(QPainter &canvas, int width, int height, const ReportPageInput &input)
{
    SetReportPageMapping(canvas, width, height);
    canvas.save();
    drawFrame(canvas);
    canvas.setBackgroundMode(Qt::TransparentMode); // texts without a background box
    canvas.setPen(QPen(Qt::black, 0));
    drawHeader(canvas, input);
    drawConditionsAndTitle(canvas, input);
    drawResults(canvas, input);
    drawBindingLine(canvas);
    canvas.restore();
}
