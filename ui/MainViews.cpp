// The chart's four views, the bearing-ratio level boxes, the cursor
// positions with their readouts, scaling and typed axis limits.

#include "ui/main.h"

#include "common/Errors.h"
#include "common/NumberText.h"
#include "link/ComToPX510Unit.h"

#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace {

double numberIn(const QString &text)
{
    if (auto value = NumberText::parseDouble(text))
        return *value;
    throw ConversionError(QStringLiteral("“%1”不是有效的数值").arg(QuotedInput(text)));
}

QString fixed2(double value)
{
    return QString::asprintf("%.2f", value);
}

// Limits the chart can draw: neither beyond its largest magnitude nor so
// close together that the axis has no length.
void requireDrawable(double lower, double upper)
{
    if (!QCPRange::validRange(lower, upper))
        throw ConversionError(QStringLiteral("坐标轴的范围超出了可以显示的范围"));
}

// The chart refuses a maximum not above the current minimum and the
// reverse: an axis of no length shows nothing.
void setAxisMaximum(QCPAxis *axis, double maximum)
{
    if (maximum <= axis->range().lower)
        throw ConversionError(QStringLiteral("坐标轴的最大值必须大于最小值"));
    requireDrawable(axis->range().lower, maximum);
    axis->setRangeUpper(maximum);
}

void setAxisMinimum(QCPAxis *axis, double minimum)
{
    if (minimum >= axis->range().upper)
        throw ConversionError(QStringLiteral("坐标轴的最小值必须小于最大值"));
    requireDrawable(minimum, axis->range().upper);
    axis->setRangeLower(minimum);
}

} // namespace

QString TForm1::HeightUnit() const
{
    QString text;
    ComLink.HeightUnitText(text);
    return text;
}

QString TForm1::LengthUnit() const
{
    QString text;
    ComLink.LengthUnitText(text);
    return text;
}

ChartSeries TForm1::SeriesOfChart() const
{
    return {Series1, Series2, Series3, Series4};
}

void TForm1::UnfilterCurveExecute()
{
    ShowSeries(SeriesOfChart(), true, false, false);
    SetBearingLayout(false);
}

void TForm1::RounessCurveExecute()
{
    ShowSeries(SeriesOfChart(), false, true, false);
    SetBearingLayout(false);
}

void TForm1::RAndUnfCurveExecute()
{
    ShowSeries(SeriesOfChart(), true, true, false);
    SetBearingLayout(false);
}

void TForm1::TPCurveExecute()
{
    ShowSeries(SeriesOfChart(), false, false, true);
    // The level box is on screen only in this view: the layout comes first,
    // so that a level that is not a number is reported with its box there
    // to be mended, instead of keeping the view shut.
    SetBearingLayout(true);
    if (TheEdition == Edition::Station)
        Edit1Change();
}

void TForm1::SetBearingLayout(bool bearing)
{
    // The panels first: the chart's replot places them.
    BearingPanel->setVisible(bearing);
    if (PercentLabelBottom) {
        PercentLabelBottom->setVisible(bearing);
        PercentLabelLeft->setVisible(bearing);
    }
    LayOutView(*RoungnessChart1, SeriesOfChart(), ComLink, bearing);
}

void TForm1::Edit1Change()
{
    const double c = numberIn(Edit1->text());
    const double r = ComLink.MaterialRatioAtDepth(c);
    Edit2->setText(fixed2(r));
    double minimum = 0, maximum = 0;
    ComLink.GetProfileMinMax(minimum, maximum);
    Edit3->setText(fixed2(std::fabs(maximum - minimum) * c / 100));
    ShowBearingLevel(*RoungnessChart1, SeriesOfChart(), c, r);
}

void TForm1::UpDown1Click(bool up)
{
    const double step = numberIn(Edit5->text());
    double value = numberIn(Edit1->text());
    value = up ? std::min(value + step, 100.0) : std::max(value - step, 0.0);
    Edit1->setText(fixed2(value)); // runs the level handling
}

void TForm1::UpDown2Click(bool up)
{
    double value = numberIn(Edit5->text());
    value = up ? std::min(value + 0.1, 100.0) : std::max(value - 0.1, 0.0);
    Edit5->setText(fixed2(value));
}

void TForm1::BearingAssistLineClick()
{
    if (!Series4)
        return;
    Series4->setVisible(!Series4->visible());
    RoungnessChart1->replot();
}

void TForm1::ShowAsistLineExecute()
{
    TRoungnessChart *chart = RoungnessChart1;
    if (chart->Position1.x < 1e-6) {
        const double maximum = chart->xAxis->range().upper;
        chart->Position1.x = maximum / 4;
        chart->Position2.x = maximum * 3 / 4;
    }
    chart->ShowPosition1 = 1;
    chart->ShowPosition2 = 1;
    chart->SetZoomMode(false);
    chart->RepaintCursors();
}

void TForm1::HideAsistLineExecute()
{
    RoungnessChart1->ShowPosition1 = 0;
    RoungnessChart1->ShowPosition2 = 0;
    RoungnessChart1->setCursor(Qt::ArrowCursor);
    RoungnessChart1->RepaintCursors();
}

void TForm1::ChartDoubleClick(QPoint pixel)
{
    TRoungnessChart *chart = RoungnessChart1;
    if (chart->ZoomMode())
        return;
    chart->Position1 = chart->PixelToValue(pixel);
    chart->Position2 = chart->PixelToValue(pixel + QPoint(10, 10));
    chart->RepaintCursors();
}

QString TForm1::Readout(double value, const QString &unit) const
{
    return QString::asprintf("%8.2f", value) + unit;
}

std::pair<QString, QString> TForm1::ReadoutUnits() const
{
    // The bearing-ratio view plots material ratio against depth, both in %.
    if (Series3->visible())
        return {QStringLiteral("%"), QStringLiteral("%")};
    return {LengthUnit(), HeightUnit()};
}

void TForm1::WriteCursorReadouts()
{
    const TRoungnessChart *chart = RoungnessChart1;
    const auto [length, height] = ReadoutUnits();
    LBPosition1X->setText(QStringLiteral("X=") + Readout(chart->Position1.x, length));
    LBPosition1Y->setText(QStringLiteral("Y=") + Readout(chart->Position1.y, height));
    LBPosition2X->setText(QStringLiteral("X=") + Readout(chart->Position2.x, length));
    LBPosition2Y->setText(QStringLiteral("Y=") + Readout(chart->Position2.y, height));
    LBSpaceDx->setText(QStringLiteral("X=") + Readout(std::fabs(chart->Position2.x - chart->Position1.x), length));
    LBSpaceDy->setText(QStringLiteral("Y=") + Readout(std::fabs(chart->Position2.y - chart->Position1.y), height));
}

void TForm1::ChartMouseMove(QPoint pixel, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    TRoungnessChart *chart = RoungnessChart1;
    if (!chart->ZoomMode() && buttons == Qt::LeftButton && modifiers == Qt::NoModifier) {
        chart->MoveActivePosition(pixel);
        WriteCursorReadouts();
    }
    double x = 0, y = 0;
    chart->PixelToValues(pixel, x, y);
    const auto [length, height] = ReadoutUnits();
    LBMousePositionX->setText(QStringLiteral("X=") + Readout(x, length));
    LBMousePositionY->setText(QStringLiteral("Y=") + Readout(y, height));
    StatusPanels[0]->setText(QStringLiteral("曲线图"));
}

void TForm1::ZoomScaleExecute()
{
    RoungnessChart1->SetZoomMode(true);
    RoungnessChart1->setCursor(Qt::SizeAllCursor);
}

void TForm1::ScreenAllExecute()
{
    RoungnessChart1->SetZoomMode(false);
    AutoScaleExecute();
}

void TForm1::DefaultViewPortExecute()
{
    DefaultViewport(*RoungnessChart1, ComLink);
}

void TForm1::AutoScaleExecute()
{
    TRoungnessChart *chart = RoungnessChart1;
    chart->SetAxisAutomatic(chart->yAxis, true);
    chart->SetAxisAutomatic(chart->xAxis, true);
    chart->replot();
}

void TForm1::CancleAutoScaleExecute()
{
    FixProfileRange(*RoungnessChart1, ComLink);
}

void TForm1::ChartAxisClick(QCPAxis *axis)
{
    TRoungnessChart *chart = RoungnessChart1;
    chart->SetAxisAutomatic(axis, false);
    const QString caption = QStringLiteral("坐标轴输入对话框");
    auto ask = [this, &caption](const QString &prompt, double current) {
        const QString initial = QString::asprintf("%8.2f", current);
        // Cancelling leaves the limit at its shown two-decimal form.
        return numberIn(Dlg.InputLine(caption, prompt, initial).value_or(initial));
    };
    if (!Series3->visible()) {
        if (axis == chart->yAxis) {
            // Both limits at once: -maximum .. maximum, or nothing changes.
            const double maximum = ask(QStringLiteral("请输入值"), axis->range().upper);
            if (!(maximum > 0))
                throw ConversionError(QStringLiteral("坐标轴的最大值必须大于最小值"));
            requireDrawable(-maximum, maximum);
            axis->setRange(-maximum, maximum);
        } else if (axis == chart->xAxis) {
            setAxisMaximum(axis, ask(QStringLiteral("请输入值"), axis->range().upper));
            setAxisMinimum(axis, ask(QStringLiteral("请输入最小值"), axis->range().lower));
        }
    }
    chart->replot();
}
