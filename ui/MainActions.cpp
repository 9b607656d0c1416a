// Putting a measurement on the screen, the status bar, the enabling of the
// actions, and the actions that drive the tester.

#include "ui/main.h"

#include "link/ComToPX510Unit.h"
#include "link/PortPermission.h"
#include "measurement/Curves.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>

#include <algorithm>
#include <vector>

void TForm1::ShowMeasurement()
{
    if (!ComLink.HasData)
        return;
    TRoungnessChart *chart = RoungnessChart1;
    for (int i = 0; i < chart->graphCount(); ++i)
        chart->graph(i)->data()->clear();

    const TMeasurementCurves curves = CurvesOf(ComLink);
    Series1->setData(curves.Profile.X, curves.Profile.Y, true);
    Series2->setData(curves.Roughness.X, curves.Roughness.Y, true);

    // Material ratio across, depth in percent down; the curve rises
    // monotonically, a stable sort keeps equal ratios in depth order.
    const TCurve &curve = curves.Bearing;
    std::vector<std::pair<double, double>> bearing;
    for (qsizetype i = 0; i < curve.size(); ++i)
        bearing.emplace_back(curve.X[i], curve.Y[i]);
    std::stable_sort(bearing.begin(), bearing.end(), [](auto &a, auto &b) { return a.first < b.first; });
    QVector<double> keys, values;
    for (const auto &[ratio, depth] : bearing) {
        keys << ratio;
        values << depth;
    }
    Series3->setData(keys, values, true);
    chart->replot();

    QString block;
    ComLink.ResultsText(6, block);
    block.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (block.endsWith(QLatin1Char('\n')))
        block.chop(1);
    Memo1->appendPlainText(block);

    chart->yAxis->setLabel(HeightUnit());
    chart->xAxis->setLabel(LengthUnit());
    if (TheEdition == Edition::Station)
        Label9->setText(QStringLiteral("C:") + HeightUnit());

    RounessCurveExecute();
    CancleAutoScaleExecute();
    chart->RepaintCursors();
    DefaultViewPortExecute();
    UpdateStatusBar();
}

void TForm1::UpdateStatusBar()
{
    auto write = [this](int panel, const QString &caption, void (TComToPX510::*label)(QString &) const) {
        QString text;
        (ComLink.*label)(text);
        QLabel *box = StatusPanels[static_cast<size_t>(panel)];
        box->setText(caption + text);
        // The imperial cutoff and range are longer than the design width.
        const int needed = box->fontMetrics().horizontalAdvance(box->text()) + 2 * box->frameWidth() + 8;
        box->setFixedWidth(std::max(box->minimumWidth(), needed));
    };
    write(1, QStringLiteral("取样长度:"), &TComToPX510::CutoffText);
    write(2, QStringLiteral("评定长度:"), &TComToPX510::SampleLengthsText);
    write(3, QStringLiteral("量程:"), &TComToPX510::RangeText);
    write(4, QStringLiteral("滤波器:"), &TComToPX510::FilterText);
    write(5, QStringLiteral("标准:"), &TComToPX510::StandardText);
    write(6, QStringLiteral("单位:"), &TComToPX510::UnitSystemText);
}

std::array<QString, 5> TForm1::ReportStatusPanels() const
{
    return {StatusPanelText(2), StatusPanelText(3), StatusPanelText(4), StatusPanelText(5), StatusPanelText(6)};
}

ReportSeries TForm1::ReportSeriesShown() const
{
    return {Series1->visible(), Series2->visible(), Series3->visible()};
}

ReportBearingTexts TForm1::ReportLevels() const
{
    return {Edit1->text(), Edit3->text(), Edit2->text()};
}

void TForm1::UpdateActions()
{
    for (const EnableRule &rule : EnableRules)
        rule.Action->setEnabled(rule.Enabled());
}

void TForm1::StartConnectExecute()
{
    if (ComLink.Connect()) {
        ComLink.ReadConditions();
        ComLink.PushSettings();
        UpdateStatusBar();
    } else {
        const QString text = QStringLiteral("无法连接到PX510上，请确认是否已经连接好了设备！");
        const QString permission = PortPermission::HintFor(ComLink.Comm());
        Dlg.Warn(QStringLiteral("警告"), permission.isEmpty() ? text : text + QLatin1Char('\n') + permission);
    }
}

void TForm1::StopConnectExecute()
{
    ComLink.Disconnect();
}

void TForm1::RunMeasureExecute()
{
    ComLink.ResetMeasurement();
    UpdateActions(); // the save commands go grey at once
    if (ComLink.StartMeasurement() && Hooks.StartProgressWatch)
        Hooks.StartProgressWatch();
}

void TForm1::LoadDataExecute()
{
    if (ComLink.FetchMeasurement())
        ShowMeasurement();
}

void TForm1::LinkTimerTick()
{
    if (ComLink.LinkState == LinkIdle)
        ComLink.Connect();
}
