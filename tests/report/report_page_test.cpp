// The report page: its layout on devices of any proportions, the curve title,
// the results block per standard and the texts of the header and conditions.

#include "RecordingDevice.h"
#include "ReportFixtures.h"
#include "report/ReportLogo.h"
#include "report/ReportPage.h"
#include "report/ReportTexts.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

ReportPageInput inputFor(const TMeasurement *session)
{
    ReportPageInput input;
    input.Logo = VantrelLogo();
    input.Session = session;
    input.StatusPanels = {QStringLiteral("评定长度:5"), QStringLiteral("量程:±40μm"), QStringLiteral("滤波器:GAUSS"),
                          QStringLiteral("标准:ISO"), QStringLiteral("单位:公制")};
    input.Series.Roughness = true;
    return input;
}

RecordingEngine &record(RecordingDevice &device, const ReportPageInput &input)
{
    QPainter painter(&device);
    DrawReportPage(painter, device.width(), device.height(), input);
    return device.Engine;
}

bool darkNear(const QImage &image, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (image.rect().contains(p) && qGray(image.pixel(p)) < 96)
                return true;
        }
    return false;
}

} // namespace

class ReportPageArea : public testing::TestWithParam<QSize> {};

TEST_P(ReportPageArea, PageIsStretchedOntoTheWholeArea)
{
    const QSize size = GetParam();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    auto session = measuredSession(0);
    {
        QPainter painter(&image);
        DrawReportPage(painter, size.width(), size.height(), inputFor(session.get()));
    }
    const int w = size.width(), h = size.height();
    for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
        EXPECT_EQ(image.pixel(corner), qRgb(255, 255, 255)) << "corner " << corner.x() << "," << corner.y();

    // Corners of the frame, scaled independently across and down.
    const QPoint frameCorners[] = {{350, 170}, {2800, 170},  {350, 1930}, {2800, 1930},
                                   {350, 740}, {2800, 1860}, {630, 270},  {2310, 1930}};
    for (QPoint page : frameCorners) {
        const int x = page.x() * w / ReportPageWidth, y = page.y() * h / ReportPageHeight;
        EXPECT_TRUE(darkNear(image, x, y)) << "frame corner " << page.x() << "," << page.y();
    }
    // Inside the chart area nothing is drawn without a chart.
    EXPECT_EQ(image.pixel(1500 * w / ReportPageWidth, 1300 * h / ReportPageHeight), qRgb(255, 255, 255));
}

INSTANTIATE_TEST_SUITE_P(Proportions, ReportPageArea,
                         testing::Values(QSize(841, 513), QSize(2970, 2100), QSize(400, 700), QSize(1600, 300)));

TEST(ReportPage, DrawsTheSeventeenLinesInOrderAndLeavesThePageMapping)
{
    RecordingDevice device(841, 513);
    auto session = measuredSession(0);
    QPainter painter(&device);
    DrawReportPage(painter, 841, 513, inputFor(session.get()));
    const std::vector<QLineF> expected = {
        {350, 170, 2800, 170},   {630, 270, 2800, 270},    {630, 330, 2800, 330},    {350, 440, 2800, 440},
        {350, 1860, 2800, 1860}, {350, 1930, 2800, 1930},  {350, 170, 350, 1930},    {630, 170, 630, 440},
        {2800, 170, 2800, 1930}, {1170, 270, 1170, 330},   {1710, 270, 1710, 330},   {2160, 270, 2160, 330},
        {840, 1860, 840, 1930},  {1330, 1860, 1330, 1930}, {1820, 1860, 1820, 1930}, {2310, 1860, 2310, 1930},
        {350, 740, 2800, 740},   {150, 0, 150, 2100}, // the binding line comes last
    };
    EXPECT_EQ(device.Engine.Lines, expected);
    EXPECT_EQ(device.Engine.Images, 1) << "the logo";

    const QPointF mapped = painter.combinedTransform().map(QPointF(2970, 2100));
    EXPECT_NEAR(mapped.x(), 841, 1e-9);
    EXPECT_NEAR(mapped.y(), 513, 1e-9);
}

TEST(ReportPage, HeaderConditionsAndTitleTexts)
{
    RecordingDevice device(2970, 2100);
    auto session = measuredSession(0);
    ReportPageInput input = inputFor(session.get());
    input.Header = {QStringLiteral("A010"), QStringLiteral("轴承座"), QStringLiteral("张三"),
                    QStringLiteral("2024-03-05 14:07:09")};
    const QStringList texts = record(device, input).TextList();
    for (const char16_t *t : {u"PX510手持粗糙度仪分析系统", u"编号：A010", u"工件名称：轴承座", u"操作者：张三",
                              u"日期：2024-03-05 14:07:09", u"评定长度:5x0.8mm", u"量程:±40μm", u"滤波器:GAUSS",
                              u"标准:ISO", u"单位:公制", u"粗糙度曲 线", u"装订线"})
        EXPECT_TRUE(texts.contains(QString::fromUtf16(t))) << QString::fromUtf16(t).toStdString();

    // Texts are placed by their top-left corner: the baseline lies below it.
    for (const RecordedText &t : device.Engine.Texts) {
        if (t.Text == QStringLiteral("编号：A010")) {
            EXPECT_NEAR(t.Baseline.x(), 640, 0.5);
            EXPECT_GT(t.Baseline.y(), 280);
            EXPECT_LT(t.Baseline.y(), 330) << "inside the header row";
        }
        if (t.Text == QStringLiteral("装订线")) {
            EXPECT_NEAR(t.Transform.m12(), -1, 1e-9) << "runs upward";
            EXPECT_GT(t.Baseline.x(), 100);
            EXPECT_LT(t.Baseline.x(), 150) << "left of the binding line";
        }
    }
}

TEST(ReportPage, EmptyDatabaseShowsTheBareLabels)
{
    RecordingDevice device(841, 513);
    TMeasurement session;
    const QStringList texts = record(device, inputFor(&session)).TextList();
    for (const char16_t *label : {u"编号：", u"工件名称：", u"操作者：", u"日期："})
        EXPECT_TRUE(texts.contains(QString::fromUtf16(label))) << QString::fromUtf16(label).toStdString();
}

TEST(ReportPage, StandardOutsideTheTableLeavesOnlyTheResultsBlockEmpty)
{
    auto session = measuredSession(4);
    RecordingDevice device(841, 513);
    const QStringList texts = record(device, inputFor(session.get())).TextList();
    for (const QString &t : texts)
        EXPECT_FALSE(t.contains(QLatin1Char('='))) << t.toStdString();
    EXPECT_EQ(texts.size(), 12) << "title, four header fields, five conditions, curve title, caption";
    EXPECT_EQ(device.Engine.Lines.size(), 18u);
}

TEST(ReportTexts, CurveTitleFollowsTheLastRuleThatApplies)
{
    struct Case {
        ReportSeries series;
        const char16_t *title;
    };
    const Case cases[] = {
        {{false, false, false}, u""},           {{true, false, false}, u"未滤波曲 线"},
        {{false, true, false}, u"粗糙度曲 线"}, {{true, true, false}, u"未滤波曲线和粗糙度曲 线"},
        {{false, false, true}, u"支撑率曲 线"}, {{true, true, true}, u"支撑率曲 线"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReportCurveTitle(c.series), QString::fromUtf16(c.title));
}

TEST(ReportTexts, ValueTextsUseTheGeneralFormat)
{
    EXPECT_EQ(ReportValueText(0.52), localized("0.52"));
    EXPECT_EQ(ReportValueText(3), "3");
    EXPECT_EQ(ReportValueText(-0.3), localized("-0.3"));
    EXPECT_EQ(ReportValueText(0.1 + 0.2), localized("0.3")) << "15 significant digits hide the binary rest";
    EXPECT_EQ(ReportValueText(1.0 / 3), localized("0.333333333333333"));
    EXPECT_EQ(ReportValueText(123456789012.345), localized("123456789012.345"));
    EXPECT_TRUE(ReportValueText(1e-6).contains(QLatin1Char('e'))) << "tiny values in scientific notation";
    EXPECT_TRUE(ReportValueText(1e17).contains(QLatin1Char('e'))) << "more than 15 digits before the point";
}

TEST(ReportTexts, ResultsBlockPerStandard)
{
    struct Case {
        int standard;
        std::vector<std::pair<QPoint, QString>> cells;
    };
    const Case cases[] = {
        {0,
         {{{630, 460}, "Ra= 0.52μm"},
          {{1170, 460}, "Rq= 0.61μm"},
          {{1710, 460}, "Ry= 4.25μm"},
          {{2160, 460}, "Rt= 5.5μm"},
          {{630, 560}, "Rp= 2.5μm"},
          {{1170, 560}, "Rv= 3μm"},
          {{1710, 560}, "RS= 0.04 mm"},
          {{2160, 560}, "RSm= 0.12 mm"},
          {{630, 660}, "RSk= -0.3"}}},
        {1,
         {{{630, 460}, "Ra= 0.52μm"},
          {{1170, 460}, "Rq= 0.61μm"},
          {{1710, 460}, "Rz= 4.25μm"},
          {{2160, 460}, "Ry= 5.5μm"},
          {{630, 560}, "Rmax= 5.5μm"},
          {{1170, 560}, "RS= 0.04 mm"},
          {{1710, 560}, "RSm= 0.12 mm"}}},
        {2,
         {{{630, 460}, "Ra= 0.52μm"},
          {{1170, 460}, "Rq= 0.61μm"},
          {{1710, 460}, "Rz= 3.1μm"},
          {{2160, 460}, "R3z= 2.2μm"},
          {{630, 560}, "Ry= 4.25μm"},
          {{1170, 560}, "Rt= 5.5μm"},
          {{1710, 560}, "Rp= 2.5μm"},
          {{2160, 560}, "RS= 0.04 mm"},
          {{630, 660}, "RSm= 0.12 mm"}}},
        {3,
         {{{630, 460}, "Ra= 0.52μm"},
          {{1170, 460}, "Rq= 0.61μm"},
          {{1710, 460}, "Rz= 4.25μm"},
          {{2160, 460}, "Rmax= 5.5μm"},
          {{630, 560}, "Rt= 5.5μm"},
          {{1170, 560}, "RS= 0.04 mm"},
          {{1710, 560}, "RSm= 0.12 mm"}}},
        {4, {}},
        {255, {}},
    };
    for (const Case &c : cases) {
        auto session = measuredSession(c.standard);
        const auto cells = ReportResultCells(c.standard, session->InstrumentParams);
        ASSERT_EQ(cells.size(), c.cells.size()) << "standard " << c.standard;
        for (size_t i = 0; i < cells.size(); ++i) {
            EXPECT_EQ(cells[i].At, c.cells[i].first) << "standard " << c.standard << " cell " << i;
            EXPECT_EQ(cells[i].Text, localized(c.cells[i].second)) << "standard " << c.standard << " cell " << i;
        }
    }
}

TEST(ReportTexts, ResultsCarryTheUnitsOfTheSet)
{
    auto session = measuredSession(1);
    TPX510parameters &p = session->InstrumentParams;
    for (Tparameter *h : std::initializer_list<Tparameter *>{&p.Ra, &p.Rq, &p.Ryi, &p.Ryd, &p.Rt})
        h->ParamUnit = QStringLiteral("μin");
    p.S.ParamUnit = p.Sm.ParamUnit = QStringLiteral("mil");
    p.Ryd.ParamUnit = QStringLiteral("Ryd-unit"); // the DIN Rz cell takes its unit from Ryd
    const auto cells = ReportResultCells(1, p);
    EXPECT_EQ(cells[0].Text, localized("Ra= 0.52μin"));
    EXPECT_EQ(cells[2].Text, localized("Rz= 4.25Ryd-unit"));
    EXPECT_EQ(cells[5].Text, localized("RS= 0.04 mil"));
}
