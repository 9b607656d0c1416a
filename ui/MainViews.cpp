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

void TForm1::SetSeriesShown(bool unfiltered, bool roughness, bool bearing)
{
    Series1->setVisible(unfiltered);
    Series2->setVisible(roughness);
    Series3->setVisible(bearing);
}

void TForm1::SyncLegend()
{
    // The legend lists the shown curves, in series order.
    QCPLegend *legend = RoungnessChart1->legend;
    legend->clearItems();
    for (QCPGraph *series : {Series1, Series2, Series3})
        if (series->visible())
            series->addToLegend();
}

void TForm1::UnfilterCurveExecute()
{
    SetSeriesShown(true, false, false);
    SetBearingLayout(false);
}

void TForm1::RounessCurveExecute()
{
    SetSeriesShown(false, true, false);
    SetBearingLayout(false);
}

void TForm1::RAndUnfCurveExecute()
{
    SetSeriesShown(true, true, false);
    SetBearingLayout(false);
}

void TForm1::TPCurveExecute()
{
    SetSeriesShown(false, false, true);
    // The level box is on screen only in this view: the layout comes first,
    // so that a level that is not a number is reported with its box there
    // to be mended, instead of keeping the view shut.
    SetBearingLayout(true);
    if (TheEdition == Edition::Station)
        Edit1Change();
}

void TForm1::SetBearingLayout(bool bearing)
{
    TRoungnessChart *chart = RoungnessChart1;
    const bool station = TheEdition == Edition::Station;
    if (bearing) {
        Series1->setVisible(false);
        Series2->setVisible(false);
        Series3->setVisible(true);
        if (Series4)
            Series4->setVisible(true);
        chart->yAxis->setRangeReversed(true);
        chart->yAxis->setLabel(QStringLiteral("c"));
        chart->xAxis->setLabel(QStringLiteral("Rmr"));
        chart->MarkerMode = station ? 0 : 1;
        chart->SetMarginPercents(20, 5, 30, 0);
        BearingPanel->show();
        if (PercentLabelBottom) {
            PercentLabelBottom->show();
            PercentLabelLeft->show();
        }
        double minimum = 0, maximum = 0;
        ComLink.GetProfileMinMax(minimum, maximum);
        const double span = std::fabs(maximum - minimum);
        // An empty profile has no height; the axis then shows 0 .. 1.
        chart->yAxis2->setRange(0, span > 0 ? span : 1);
        chart->yAxis2->setVisible(true);
        chart->SetAxisAutomatic(chart->yAxis2, false);
        chart->SetAxisAutomatic(chart->yAxis, false);
        chart->yAxis->setRange(0, 100);
    } else {
        Series3->setVisible(false);
        if (Series4)
            Series4->setVisible(false);
        chart->yAxis->setRangeReversed(false);
        chart->MarkerMode = 0;
        chart->yAxis->setLabel(HeightUnit());
        chart->xAxis->setLabel(LengthUnit());
        chart->SetMarginPercents(5, 5, 5, 0);
        BearingPanel->hide();
        if (PercentLabelBottom) {
            PercentLabelBottom->hide();
            PercentLabelLeft->hide();
        }
        // The peak-to-valley scale belongs to the bearing-ratio curve alone.
        chart->yAxis2->setVisible(false);
        CancleAutoScaleExecute();
    }
    SyncLegend();
    chart->replot();
}

void TForm1::Edit1Change()
{
    const double c = numberIn(Edit1->text());
    const double r = ComLink.MaterialRatioAtDepth(c);
    Edit2->setText(fixed2(r));
    double minimum = 0, maximum = 0;
    ComLink.GetProfileMinMax(minimum, maximum);
    Edit3->setText(fixed2(std::fabs(maximum - minimum) * c / 100));
    if (Series4) {
        Series4->data()->clear();
        Series4->addData({0, r, r}, {c, c, 100}, true);
        RoungnessChart1->replot();
    } else {
        RoungnessChart1->MarkerPoint = {r, c};
        RoungnessChart1->RepaintCursors();
    }
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
    RoungnessChart1->SetAxisAutomatic(RoungnessChart1->xAxis, true);
    RoungnessChart1->SetZoomMode(false);
    CancleAutoScaleExecute(); // the vertical range of the measuring range
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
    TRoungnessChart *chart = RoungnessChart1;
    const double maximum = ComLink.RangeLimit() * 1000;
    chart->SetAxisAutomatic(chart->yAxis, false);
    chart->yAxis->setRange(-maximum, maximum);
    chart->replot();
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
