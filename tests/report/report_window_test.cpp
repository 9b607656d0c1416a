// The report window and the main chart on the report: page area and its
// steps, the chart's look before and after, where the chart lands on screen
// and on a fine device, and printing exactly one page.

#include "../database/DatabaseFixture.h"
#include "RecordingDevice.h"
#include "ReportChartFixture.h"
#include "ReportFixtures.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"
#include "chart/MeasurementChart.h"
#include "common/Errors.h"
#include "database/RecordDateText.h"
#include "link/ComToPX510Unit.h"
#include "report/PrintPreviewFM.h"
#include "report/RecordHeader.h"
#include "report/ReportPage.h"
#include "report/ReportPrint.h"
#include "report/RoungnessChartReport.h"
#include "ui/main.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

int pdfPageCount(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString content = QString::fromLatin1(file.readAll());
    return static_cast<int>(content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

struct Window {
    ScriptedDialogs dialogs;
    std::unique_ptr<TMeasurement> session = measuredSession(0);
    TForm6 form{*session, dialogs};
};

QImage render(QSize size, ReportChart *chart)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter canvas(&image);
    TMeasurement session;
    ReportPageInput input;
    input.Session = &session;
    DrawReportPage(canvas, size.width(), size.height(), input);
    DrawReportChart(canvas, QPoint(0, 0), size.width(), size.height(), chart);
    return image;
}

// Rounding of anti-aliased edges differs a little between the two paths.
bool farApart(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) > 48 || std::abs(qGreen(a) - qGreen(b)) > 48
        || std::abs(qBlue(a) - qBlue(b)) > 48;
}

void setDpi(QImage &image, int dpi)
{
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
}

} // namespace

TEST(ReportWindow, PageAreaGrowsAndShrinksInFixedSteps)
{
    Window w;
    EXPECT_EQ(w.form.windowTitle(), QStringLiteral("打印预览"));
    EXPECT_EQ(w.form.PageSize(), QSize(841, 513));
    w.form.show();
    QWidget *box = w.form.findChild<QWidget *>(QStringLiteral("PaintBox1"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->mapTo(&w.form, QPoint(0, 0)), QPoint(112, 112));

    w.form.EnlargeAction->trigger();
    w.form.EnlargeAction->trigger();
    EXPECT_EQ(w.form.PageSize(), QSize(921, 573));
    w.form.ReduceAction->trigger();
    EXPECT_EQ(w.form.PageSize(), QSize(881, 543));
    for (int i = 0; i < 40; ++i)
        w.form.Reduce();
    EXPECT_EQ(w.form.PageSize(), QSize(40, 30)) << "reduce stops at 40 x 30";
}

TEST(ReportWindow, PreviewOfTheBearingViewCarriesTheLevels)
{
    Window w;
    auto chart = roughnessChart();
    chart->graph(1)->setVisible(false);
    chart->graph(2)->setVisible(true);
    w.form.ReportChart = chart.get();
    w.form.Sources.BearingLevels = [] {
        return ReportBearingTexts{QStringLiteral("5"), QStringLiteral("0.10"), QStringLiteral("40.00")};
    };
    RecordingDevice device(841, 513);
    {
        QPainter canvas(&device);
        w.form.PaintPreview(canvas);
    }
    const QStringList texts = device.Engine.TextList();
    EXPECT_TRUE(texts.contains(QStringLiteral("支撑率曲 线")));
    EXPECT_TRUE(texts.contains(QStringLiteral("c=5 %Rt")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Rmr=40.00 %")));

    w.form.ReportChart = nullptr;
    RecordingDevice bare(841, 513);
    {
        QPainter canvas(&bare);
        w.form.PaintPreview(canvas);
    }
    EXPECT_FALSE(bare.Engine.TextList().contains(QStringLiteral("c=5 %Rt"))) << "no chart, no levels";
    EXPECT_TRUE(w.dialogs.Warnings.isEmpty());
}

TEST(ReportWindow, AFaultWhilePaintingIsReportedOnceAfterThePaint)
{
    Window w;
    w.form.Sources.CurrentRecord = []() -> ReportHeader { throw DatabaseError(QStringLiteral("数据库已锁定")); };
    for (int i = 0; i < 3; ++i) {
        QImage image(841, 513, QImage::Format_RGB32);
        QPainter canvas(&image);
        w.form.PaintPreview(canvas);
        EXPECT_TRUE(w.dialogs.Warnings.isEmpty()) << "no message box in the middle of a paint";
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(w.dialogs.Warnings, QStringList{QStringLiteral("数据库已锁定")});
}

TEST(ReportWindow, PrintingGivesOnePageOnThePlainChartPath)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    Window w;
    auto chart = roughnessChart();
    chart->graph(1)->setVisible(false);
    chart->graph(2)->setVisible(true); // the bearing-ratio view
    w.form.ReportChart = chart.get();
    w.form.Sources.BearingLevels = [] {
        return ReportBearingTexts{QStringLiteral("5"), QStringLiteral("0.10"), QStringLiteral("40.00")};
    };

    w.form.ChoosePrinter = [](QPrinter &) { return false; };
    w.form.Printer().setPageOrientation(QPageLayout::Portrait);
    w.form.PrintReport();
    EXPECT_EQ(w.form.Printer().pageLayout().orientation(), QPageLayout::Landscape)
        << "cancelling leaves the printer in landscape";

    w.form.ChoosePrinter = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    w.form.PrintReport();
    EXPECT_TRUE(w.dialogs.Warnings.isEmpty()) << w.dialogs.Warnings.join("; ").toStdString();
    EXPECT_EQ(pdfPageCount(pdf), 1);

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("Ra= "))) << printed.toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("c="))) << "no bearing-ratio lines on paper";
    EXPECT_FALSE(printed.contains(QStringLiteral("Rmr=")));
}

TEST(ReportWindow, PrinterThatCannotStartIsReported)
{
    Window w;
    w.form.ChoosePrinter = [](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QStringLiteral("/nonexistent-folder/report.pdf"));
        return true;
    };
    w.form.PrintReport();
    EXPECT_EQ(w.dialogs.Warnings.size(), 1);
}

TEST(ReportMainChart, GradientIsOnAfterTheReportAndTheRestComesBack)
{
    auto chart = roughnessChart();
    chart->show(); // on screen, as the main chart is
    QCoreApplication::processEvents();
    chart->xAxis->setBasePen(QPen(Qt::black, 2));
    chart->yAxis->setBasePen(QPen(Qt::black, 3));
    RoungnessChartReport adapter(*chart);
    ReportChartLook before = adapter.Look();
    before.Gradient = false;
    before.TitleColor = Qt::blue;
    adapter.SetLook(before);

    render(QSize(841, 513), &adapter);

    const ReportChartLook after = adapter.Look();
    EXPECT_TRUE(after.Gradient);
    EXPECT_EQ(after.BottomAxisPenWidth, 2);
    EXPECT_EQ(after.LeftAxisPenWidth, 3);
    EXPECT_TRUE(after.LegendVisible);
    EXPECT_EQ(after.Title, QStringLiteral("曲线"));
    EXPECT_EQ(after.TitleColor, QColor(Qt::blue));
    // The chart on screen shows its own look again, not the paper one.
    QCoreApplication::processEvents();
    const QImage shown = chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fresh =
        chart->toPixmap(chart->width(), chart->height()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), fresh.size());
    int stale = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            stale += farApart(shown.pixel(x, y), fresh.pixel(x, y));
    EXPECT_LT(stale, 100) << "the chart is drawn again after the report (legend, gradient)";
    // The gradient shows again: light blue at the chart's foot.
    const QImage screen = chart->toPixmap(857, 400).toImage();
    const QColor foot = screen.pixelColor(3, 397);
    EXPECT_LT(foot.red(), 200);
    EXPECT_GT(foot.blue(), 240);
}

TEST(ReportMainChart, ChartStaysInsideItsFrameOnScreenAndOnAFineDevice)
{
    auto chart = roughnessChart();
    RoungnessChartReport adapter(*chart);
    struct Case {
        QSize size;
        int dpi;
    };
    for (const Case &c : {Case{{841, 513}, 96}, Case{{3508, 2480}, 300}, Case{{600, 700}, 96}}) {
        QImage page(c.size, QImage::Format_RGB32), withChart(c.size, QImage::Format_RGB32);
        setDpi(page, c.dpi);
        setDpi(withChart, c.dpi);
        for (QImage *image : {&page, &withChart}) {
            image->fill(Qt::red);
            QPainter canvas(image);
            TMeasurement session;
            ReportPageInput input;
            input.Session = &session;
            DrawReportPage(canvas, c.size.width(), c.size.height(), input);
            if (image == &withChart)
                DrawReportChart(canvas, QPoint(0, 0), c.size.width(), c.size.height(), &adapter);
        }
        const QRect frame = ReportChartRect(QPoint(0, 0), c.size.width(), c.size.height());
        int changed = 0, outside = 0;
        for (int y = 0; y < c.size.height(); ++y)
            for (int x = 0; x < c.size.width(); ++x)
                if (page.pixel(x, y) != withChart.pixel(x, y)) {
                    ++changed;
                    if (!frame.contains(x, y))
                        ++outside;
                }
        EXPECT_GT(changed, c.size.width() * c.size.height() / 200) << "the chart is drawn at " << c.dpi << " dpi";
        EXPECT_EQ(outside, 0) << c.size.width() << "x" << c.size.height();
    }
}

// The report draws its chart without the main window: in every view it must
// be the picture the window shows of the same measurement just loaded.
TEST(ReportMainChart, ChartOfAMeasurementIsTheMainWindowsInEveryView)
{
    auto onPaper = [](TRoungnessChart &chart) {
        QImage image(857, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter canvas(&image);
        chart.DrawToCanvas(canvas, image.rect());
        return image;
    };
    TComToPX510 session;
    ScriptedDialogs dialogs;
    TForm1 window(session, dialogs, Edition::Station);
    session.LoadMeasurementFile(sourcePath(QStringLiteral("tests/fixtures/imperial_1000.PX510")));
    window.ShowMeasurement();
    struct Case {
        ChartView view;
        std::function<void()> show;
    };
    const Case cases[] = {{ChartView::Roughness, [&] { window.RounessCurveExecute(); }},
                          {ChartView::Unfiltered, [&] { window.UnfilterCurveExecute(); }},
                          {ChartView::Both, [&] { window.RAndUnfCurveExecute(); }},
                          {ChartView::Bearing, [&] { window.TPCurveExecute(); }}};
    for (const Case &c : cases) {
        c.show();
        const std::unique_ptr<TRoungnessChart> chart = MeasurementChart(session, c.view);
        RoungnessChartReport paper(*chart);
        EXPECT_EQ(paper.ShownSeries(), window.ReportSeriesShown()) << int(c.view);
        EXPECT_EQ(onPaper(*chart), onPaper(*window.RoungnessChart1)) << "view " << int(c.view);
    }
    EXPECT_TRUE(dialogs.Warnings.isEmpty());
}

class ReportRecordHeader : public DatabaseTest {};

TEST_F(ReportRecordHeader, NamesTheRecordOfTheMeasurementNotTheListsCurrentRow)
{
    TMeasurement session;
    ScriptedDialogs dialogs;
    insertRow(QStringLiteral("A001"), at(2024, 3, 6), QStringLiteral("轴"), QString());
    Manager.MainQuery().ShowAll();
    makeMeasurement(session, 9);
    EXPECT_EQ(ReportHeaderOf(Manager, session).Id, QString()) << "an unsaved measurement: bare labels";

    dialogs.YesNoAnswers = {true};
    ASSERT_EQ(Manager.SaveMeasurementRecord(
                  dialogs, session, {QStringLiteral("A010"), QStringLiteral("轴承座"), QStringLiteral("张三"), {}}),
              1);
    Manager.MainQuery().First(); // the list shows A001
    ReportHeader saved = ReportHeaderOf(Manager, session);
    EXPECT_EQ(saved.Id, QStringLiteral("A010"));
    EXPECT_EQ(saved.WorkName, QStringLiteral("轴承座"));
    EXPECT_EQ(saved.Operator, QStringLiteral("张三"));
    EXPECT_EQ(saved.DateTime, RecordDateText::Display(DateTimeText::storageText(session.MeasureTime)));
    EXPECT_TRUE(saved.DateTime.contains(QStringLiteral("10:20:09")));

    // Loaded from a row, the header names that row, wherever the list moves.
    makeMeasurement(session, 3);
    Manager.MainQuery().Last();
    ASSERT_TRUE(Manager.LoadCurrentRecord(session));
    Manager.MainQuery().First();
    EXPECT_EQ(ReportHeaderOf(Manager, session).Id, QStringLiteral("A010"));

    Manager.MainQuery().Last();
    Manager.MainQuery().DeleteCurrent();
    EXPECT_EQ(ReportHeaderOf(Manager, session).Id, QString()) << "a deleted record names nothing";

    insertRow(QStringLiteral("A011"), at(2024, 3, 6), QStringLiteral("轴"), QString());
    Manager.MainQuery().ShowAll();
    session.RecordAutoId = *Manager.FindId(QStringLiteral("A011"));
    ReportHeader bare = ReportHeaderOf(Manager, session);
    EXPECT_EQ(bare.Operator, QString()) << "a null column shows nothing";
    EXPECT_FALSE(bare.DateTime.contains(QLatin1Char(':'))) << "midnight shows the date alone";
    session.ResetMeasurement(); // a new measurement from the tester
    EXPECT_EQ(ReportHeaderOf(Manager, session).Id, QString());
}

TEST(ReportTool, AnExistingPdfIsReplacedOnlyByACompleteOne)
{
    const QString tool = QStringLiteral(PX510_PROGRAM_DIR "/px510tool");
    const QString record = sourcePath(QStringLiteral("tests/fixtures/imperial_1000.PX510"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    const QByteArray old = "the report of yesterday";
    auto writeOld = [&] {
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    };
    auto contents = [&] {
        QFile f(pdf);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    auto leftovers = [&] { return QDir(dir.path()).entryList({QStringLiteral("*.part")}, QDir::Files); };

    // Killed while it draws: the old file is as it was.
    writeOld();
    QProcess killed;
    killed.start(tool, {QStringLiteral("report"), record, QStringLiteral("--pdf"), pdf});
    ASSERT_TRUE(killed.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    while (leftovers().isEmpty() && killed.state() == QProcess::Running && clock.elapsed() < 30000)
        QThread::usleep(200);
    ASSERT_FALSE(leftovers().isEmpty()) << "the report is drawn into a file of its own";
    killed.kill();
    killed.waitForFinished();
    EXPECT_EQ(contents(), old);

    // Finished: replaced whole, nothing left beside it.
    QProcess done;
    done.start(tool, {QStringLiteral("report"), record, QStringLiteral("--pdf"), pdf});
    ASSERT_TRUE(done.waitForFinished(60000));
    EXPECT_EQ(done.exitCode(), 0) << done.readAllStandardError().toStdString();
    EXPECT_EQ(pdfPageCount(pdf), 1);
    QFile::remove(dir.filePath(leftovers().value(0))); // the killed run's
    EXPECT_TRUE(leftovers().isEmpty());

    // A folder that does not exist is named.
    const QString missing = dir.filePath(QStringLiteral("no such folder/report.pdf"));
    QProcess refused;
    refused.start(tool, {QStringLiteral("report"), record, QStringLiteral("--pdf"), missing});
    ASSERT_TRUE(refused.waitForFinished(60000));
    EXPECT_EQ(refused.exitCode(), 1);
    const QString error = QString::fromUtf8(refused.readAllStandardError());
    EXPECT_TRUE(error.contains(dir.filePath(QStringLiteral("no such folder")))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("不存在"))) << error.toStdString();
}

TEST(ReportTool, WritesOnePageAndRefusesBadInput)
{
    const QString tool = QStringLiteral(PX510_PROGRAM_DIR "/px510tool");
    QTemporaryDir dir;
    auto run = [&](const QStringList &args) {
        QProcess p;
        p.start(tool, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return p.exitCode();
    };
    const QString pdf = dir.filePath(QStringLiteral("a.pdf"));
    EXPECT_EQ(run({QStringLiteral("report"), sourcePath(QStringLiteral("tests/fixtures/imperial_1000.PX510")),
                   QStringLiteral("--pdf"), pdf, QStringLiteral("--view"), QStringLiteral("bearing"),
                   QStringLiteral("--id"), QStringLiteral("A7")}),
              0);
    EXPECT_EQ(pdfPageCount(pdf), 1);

    const QString damaged = dir.filePath(QStringLiteral("b.pdf"));
    EXPECT_EQ(run({QStringLiteral("report"), sourcePath(QStringLiteral("tests/fixtures/truncated.PX510")),
                   QStringLiteral("--pdf"), damaged}),
              1);
    EXPECT_FALSE(QFile::exists(damaged)) << "nothing written for a damaged record";
    EXPECT_EQ(run({QStringLiteral("report"), sourcePath(QStringLiteral("tests/fixtures/imperial_1000.PX510")),
                   QStringLiteral("--pdf"), damaged, QStringLiteral("--view"), QStringLiteral("side")}),
              2);
    EXPECT_EQ(run({QStringLiteral("report"), sourcePath(QStringLiteral("tests/fixtures/imperial_1000.PX510"))}), 2)
        << "--pdf is required";
}
