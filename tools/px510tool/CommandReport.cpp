// px510tool report FILE --pdf OUT [--view V] [--id ID --workname TEXT --operator TEXT]:
// the one-page report of a measurement file on a landscape A4 PDF, with the
// main window's chart in the chosen view, as the report window prints it.

#include "Command.h"

#include "chart/MeasurementChart.h"
#include "common/DateTimeText.h"
#include "common/Errors.h"
#include "database/RecordDateText.h"
#include "link/ComToPX510Unit.h"
#include "report/ConditionTexts.h"
#include "report/ReportLogo.h"
#include "report/ReportPrint.h"
#include "report/RoungnessChartReport.h"

namespace {

ChartView chartView(const QString &view)
{
    if (view == QLatin1String("roughness"))
        return ChartView::Roughness;
    if (view == QLatin1String("unfiltered"))
        return ChartView::Unfiltered;
    if (view == QLatin1String("both"))
        return ChartView::Both;
    if (view == QLatin1String("bearing"))
        return ChartView::Bearing;
    throw UsageError("--view must be roughness, unfiltered, both or bearing");
}

} // namespace

int CommandReport(const QStringList &arguments)
{
    QStringList args = arguments;
    const QString pdf = Tool::takeOption(args, QStringLiteral("--pdf"));
    const ChartView view = chartView(Tool::takeOption(args, QStringLiteral("--view"), QStringLiteral("roughness")));
    ReportPageInput input;
    input.Header.Id = Tool::takeOption(args, QStringLiteral("--id"));
    input.Header.WorkName = Tool::takeOption(args, QStringLiteral("--workname"));
    input.Header.Operator = Tool::takeOption(args, QStringLiteral("--operator"));
    Tool::expectArguments(args, 1);
    if (pdf.isEmpty())
        throw UsageError("--pdf OUT is required");

    TComToPX510 session;
    session.LoadMeasurementFile(args.at(0));
    const std::unique_ptr<TRoungnessChart> chart = MeasurementChart(session, view);
    RoungnessChartReport paper(*chart);

    // The date as the data manager shows a stored row of this measurement.
    input.Header.DateTime = RecordDateText::Display(DateTimeText::storageText(session.MeasureTime));
    input.Logo = VantrelLogo();
    input.StatusPanels = ReportConditionTexts(session);
    input.Series = paper.ShownSeries();
    input.Session = &session;

    WriteReportPdf(pdf, input, &paper);
    Tool::print(pdf + QLatin1Char('\n'));
    return 0;
}
