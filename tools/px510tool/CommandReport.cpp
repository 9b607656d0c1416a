// px510tool report FILE --pdf OUT [--view V] [--id ID --workname TEXT --operator TEXT]:
// the one-page report of a measurement file on a landscape A4 PDF, with the
// main window's chart in the chosen view, as the report window prints it.

#include "Command.h"

#include "common/DateTimeText.h"
#include "common/Dialogs.h"
#include "common/Errors.h"
#include "database/RecordDateText.h"
#include "link/ComToPX510Unit.h"
#include "report/ReportLogo.h"
#include "report/ReportPrint.h"
#include "report/RoungnessChartReport.h"
#include "ui/main.h"

namespace {

// The main window shows nothing here: a warning it would show ends the command.
class BatchDialogs : public Dialogs {
public:
    bool AskYesNo(const QString &, const QString &) override { return false; }
    void Warn(const QString &, const QString &text) override { throw PX510Error(text); }
    void Inform(const QString &, const QString &) override {}
    std::optional<QString> InputLine(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> OpenFileName(const QString &, const QString &) override { return {}; }
    std::optional<QString> SaveFileName(const QString &, const QString &) override { return {}; }
};

using ViewAction = void (TForm1::*)();

ViewAction viewAction(const QString &view)
{
    if (view == QLatin1String("roughness"))
        return &TForm1::RounessCurveExecute;
    if (view == QLatin1String("unfiltered"))
        return &TForm1::UnfilterCurveExecute;
    if (view == QLatin1String("both"))
        return &TForm1::RAndUnfCurveExecute;
    if (view == QLatin1String("bearing"))
        return &TForm1::TPCurveExecute;
    throw UsageError("--view must be roughness, unfiltered, both or bearing");
}

} // namespace

int CommandReport(const QStringList &arguments)
{
    QStringList args = arguments;
    const QString pdf = Tool::takeOption(args, QStringLiteral("--pdf"));
    const ViewAction showView = viewAction(Tool::takeOption(args, QStringLiteral("--view"), QStringLiteral("roughness")));
    ReportPageInput input;
    input.Header.Id = Tool::takeOption(args, QStringLiteral("--id"));
    input.Header.WorkName = Tool::takeOption(args, QStringLiteral("--workname"));
    input.Header.Operator = Tool::takeOption(args, QStringLiteral("--operator"));
    Tool::expectArguments(args, 1);
    if (pdf.isEmpty())
        throw UsageError("--pdf OUT is required");

    // The window resets the session when it is made: the file comes after.
    TComToPX510 session;
    BatchDialogs dialogs;
    TForm1 window(session, dialogs, Edition::Station);
    session.LoadMeasurementFile(args.at(0));
    window.ShowMeasurement();
    (window.*showView)();

    // The date as the data manager shows a stored row of this measurement.
    input.Header.DateTime = RecordDateText::Display(DateTimeText::storageText(session.MeasureTime));
    input.Logo = VantrelLogo();
    input.StatusPanels = window.ReportStatusPanels();
    input.Series = window.ReportSeriesShown();
    input.Session = &session;

    RoungnessChartReport chart(*window.RoungnessChart1);
    WriteReportPdf(pdf, input, &chart);
    Tool::print(pdf + QLatin1Char('\n'));
    return 0;
}
