// The chart of the report: where it lands, the paper look while it renders,
// the look it gets back, and the bearing-ratio texts of the preview.

#include "RecordingDevice.h"
#include "ReportFixtures.h"
#include "report/ReportPage.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

ReportChartLook screenLook()
{
    ReportChartLook look;
    look.Gradient = false; // off before the report: on afterwards
    look.BottomAxisPenWidth = 2;
    look.LeftAxisPenWidth = 3;
    look.LegendVisible = true;
    look.Title = QStringLiteral("曲线");
    look.TitleColor = Qt::blue;
    return look;
}

const ReportBearingTexts levels{QStringLiteral("5"), QStringLiteral("0.10"), QStringLiteral("12.34")};

} // namespace

TEST(ReportChart, RendersInPaperLookAndGivesTheLookBackWithGradientOn)
{
    FakeChart chart;
    chart.Current = screenLook();
    RecordingDevice device(841, 513);
    QPainter painter(&device);
    TMeasurement session;
    ReportPageInput input;
    input.Session = &session;
    DrawReportPage(painter, 841, 513, input);
    const QTransform pageMapping = painter.combinedTransform();
    DrawReportChart(painter, QPoint(0, 0), 841, 513, &chart);

    ASSERT_EQ(chart.Draws, 1);
    EXPECT_FALSE(chart.LookWhileDrawn.Gradient);
    EXPECT_EQ(chart.LookWhileDrawn.BottomAxisPenWidth, 0);
    EXPECT_EQ(chart.LookWhileDrawn.LeftAxisPenWidth, 0);
    EXPECT_FALSE(chart.LookWhileDrawn.LegendVisible);
    EXPECT_EQ(chart.LookWhileDrawn.TitleColor, QColor(Qt::black));
    EXPECT_EQ(chart.LookWhileDrawn.Title, QStringLiteral("曲线"));
    EXPECT_TRUE(chart.TransformWasIdentity) << "the chart is given device units";

    ReportChartLook expected = screenLook();
    expected.Gradient = true;
    EXPECT_EQ(chart.Current, expected);
    EXPECT_EQ(painter.combinedTransform(), pageMapping) << "the page mapping is in force again";
}

TEST(ReportChart, LandsInsideTheChartFrameOfThePage)
{
    struct Case {
        QPoint origin;
        QSize size;
    };
    const Case cases[] = {{{0, 0}, {841, 513}},
                          {{112, 112}, {841, 513}},
                          {{0, 0}, {3366, 2380}},
                          {{7, 3}, {41, 30}},
                          {{0, 0}, {400, 900}}};
    for (const Case &c : cases) {
        FakeChart chart;
        RecordingDevice device(c.origin.x() + c.size.width(), c.origin.y() + c.size.height());
        QPainter painter(&device);
        DrawReportChart(painter, c.origin, c.size.width(), c.size.height(), &chart);
        const QRect r = chart.DrawnInto;
        const int w = c.size.width(), h = c.size.height();
        EXPECT_EQ(r, ReportChartRect(c.origin, w, h));
        EXPECT_EQ(r.left(), c.origin.x() + w * 350 / 2970 + 10);
        EXPECT_EQ(r.top(), c.origin.y() + h * 740 / 2100 + 10);
        EXPECT_EQ(r.left() + r.width(), c.origin.x() + w * 2800 / 2970 - 10);
        EXPECT_EQ(r.top() + r.height(), c.origin.y() + h * 1860 / 2100 - 10);
    }
}

TEST(ReportChart, LookComesBackWhenRenderingFails)
{
    class FailingChart : public FakeChart {
        void DrawToCanvas(QPainter &, const QRect &) override { throw std::runtime_error("chart failed"); }
    } chart;
    chart.Current = screenLook();
    RecordingDevice device(100, 100);
    QPainter painter(&device);
    EXPECT_THROW(DrawReportChart(painter, QPoint(0, 0), 100, 100, &chart), std::runtime_error);
    EXPECT_TRUE(chart.Current.Gradient);
    EXPECT_TRUE(chart.Current.LegendVisible);
    EXPECT_EQ(chart.Current.LeftAxisPenWidth, 3);
}

TEST(ReportChart, BearingTextsAreWrittenBeforeTheChart)
{
    FakeChart chart;
    RecordingDevice device(2970, 2100);
    QPainter painter(&device);
    TMeasurement session;
    ReportPageInput input;
    input.Session = &session;
    DrawReportPage(painter, 2970, 2100, input);
    const size_t pageTexts = device.Engine.Texts.size();
    DrawBearingReportChart(painter, QPoint(0, 0), 2970, 2100, &chart, levels);

    const auto &texts = device.Engine.Texts;
    ASSERT_EQ(texts.size(), pageTexts + 4);
    EXPECT_EQ(texts[pageTexts].Text, QStringLiteral("c=5 %Rt"));
    EXPECT_EQ(texts[pageTexts + 1].Text, QStringLiteral("c=0.10 um"));
    EXPECT_EQ(texts[pageTexts + 2].Text, QStringLiteral("Rmr=12.34 %"));
    EXPECT_EQ(texts[pageTexts + 3].Text, QStringLiteral("CHART"));
    EXPECT_NEAR(texts[pageTexts].Baseline.x(), 2250, 0.5) << "through the page mapping";
    EXPECT_GT(texts[pageTexts + 1].Baseline.y(), 1010);
    EXPECT_EQ(chart.Draws, 1);
}

TEST(ReportChart, WithoutAChartNothingIsDrawn)
{
    RecordingDevice device(841, 513);
    QPainter painter(&device);
    DrawReportChart(painter, QPoint(0, 0), 841, 513, nullptr);
    DrawBearingReportChart(painter, QPoint(0, 0), 841, 513, nullptr, levels);
    EXPECT_TRUE(device.Engine.Texts.empty()) << "no bearing-ratio texts either";
    EXPECT_TRUE(device.Engine.Lines.empty());
}
