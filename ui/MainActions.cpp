// Putting a measurement on the screen, the status bar, the enabling of the
// actions, and the actions that drive the tester.

#include "ui/main.h"

#include "link/ComToPX510Unit.h"
#include "link/PortPermission.h"
#include "report/ConditionTexts.h"

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
    ShowCurves(*chart, SeriesOfChart(), ComLink);

    QString block;
    ComLink.ResultsText(6, block);
    block.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (block.endsWith(QLatin1Char('\n')))
        block.chop(1);
    Memo1->appendPlainText(block);

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
    const std::array<QString, 6> texts = ConditionPanelTexts(ComLink);
    for (size_t i = 0; i < texts.size(); ++i) {
        QLabel *box = StatusPanels[i + 1];
        box->setText(texts[i]);
        // The imperial cutoff and range are longer than the design width.
        const int needed = box->fontMetrics().horizontalAdvance(box->text()) + 2 * box->frameWidth() + 8;
        box->setFixedWidth(std::max(box->minimumWidth(), needed));
    }
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
