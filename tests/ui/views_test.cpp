// The four views and the bearing-ratio layout, the level boxes, the cursor
// positions with their readouts, scaling, and typed axis limits.

#include "UiTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "ui/UpDownButtons.h"

namespace {

using ViewsTest = MainWindowTest;

TEST_P(ViewsTest, EachViewSetsItsSeriesAxisTitlesAndLayout)
{
    ShowWindow();
    Display();
    struct Case {
        void (TForm1::*view)();
        bool unfiltered, roughness, bearing;
    } cases[] = {
        {&TForm1::UnfilterCurveExecute, true, false, false}, {&TForm1::RounessCurveExecute, false, true, false},
        {&TForm1::RAndUnfCurveExecute, true, true, false},   {&TForm1::TPCurveExecute, false, false, true},
        {&TForm1::RAndUnfCurveExecute, true, true, false}, // and back again
    };
    TRoungnessChart *chart = Form->RoungnessChart1;
    for (const Case &c : cases) {
        (Form.get()->*c.view)();
        EXPECT_EQ(Form->Series1->visible(), c.unfiltered);
        EXPECT_EQ(Form->Series2->visible(), c.roughness);
        EXPECT_EQ(Form->Series3->visible(), c.bearing);
        if (Form->Series4) {
            EXPECT_EQ(Form->Series4->visible(), c.bearing);
        }
        for (QWidget *control : Form->BearingControls())
            EXPECT_EQ(control->isVisible(), c.bearing);
        EXPECT_EQ(chart->yAxis->rangeReversed(), c.bearing);
        EXPECT_EQ(chart->yAxis->label(), c.bearing ? "c" : "μm");
        EXPECT_EQ(chart->xAxis->label(), c.bearing ? "Rmr" : "mm");
        EXPECT_EQ(chart->LeftMarginPercent(), c.bearing ? 20 : 5);
        EXPECT_EQ(chart->RightMarginPercent(), c.bearing ? 30 : 5);
        EXPECT_EQ(chart->yAxis2->visible(), c.bearing);
        const ReportSeries shown = Form->ReportSeriesShown();
        EXPECT_EQ(shown.Unfiltered, c.unfiltered);
        EXPECT_EQ(shown.Bearing, c.bearing);
    }
}

TEST_P(ViewsTest, BearingLayoutInvertsTheDepthAxisAndSpansThePeakToValleyHeight)
{
    ShowWindow();
    Display();
    SetRoughnessSpan(ComLink, 1.5);
    TRoungnessChart *chart = Form->RoungnessChart1;
    chart->xAxis->setRange(1, 2); // a manual bottom range survives the bearing view
    chart->SetAxisAutomatic(chart->xAxis, false);
    Form->TPCurveExecute();
    EXPECT_EQ(chart->yAxis->range(), QCPRange(0, 100));
    EXPECT_EQ(chart->yAxis2->range(), QCPRange(0, 3));
    EXPECT_EQ(chart->MarkerMode, Station() ? 0 : 1);
    // Depth 0 at the top: the curve starts top left.
    const QPoint top = chart->ValueToPixel({0, 0});
    EXPECT_EQ(top.y(), chart->PlotRect().top());
    if (!Station()) {
        EXPECT_TRUE(Form->PercentLabelBottom->isVisible());
        EXPECT_TRUE(Form->PercentLabelLeft->isVisible());
    }

    Form->RounessCurveExecute();
    EXPECT_EQ(chart->yAxis->range(), QCPRange(-40, 40));
    EXPECT_FALSE(chart->yAxis->rangeReversed());
    EXPECT_EQ(chart->xAxis->range(), QCPRange(1, 2));
    EXPECT_EQ(chart->MarkerMode, 0);
    if (!Station()) {
        EXPECT_FALSE(Form->PercentLabelBottom->isVisible());
    }
}

TEST_P(ViewsTest, LevelGivesMaterialRatioAndHeightAndMovesTheMarker)
{
    ShowWindow();
    Display();
    SetRoughnessSpan(ComLink, 1.0); // 2 μm from lowest to highest
    Form->Edit1->setText("5");
    Form->Edit1->setText("5.0"); // every change runs the level handling
    const double r = ComLink.MaterialRatioAtDepth(5);
    EXPECT_EQ(Form->Edit3->text(), "0.10");
    EXPECT_EQ(Form->Edit2->text(), QString::asprintf("%.2f", r));
    if (Station()) {
        ASSERT_EQ(Form->Series4->dataCount(), 3);
        EXPECT_EQ(Form->Series4->data()->at(0)->key, 0);
        EXPECT_EQ(Form->Series4->data()->at(0)->value, 5);
        EXPECT_EQ(Form->Series4->data()->at(1)->key, r);
        EXPECT_EQ(Form->Series4->data()->at(2)->value, 100);
    } else {
        EXPECT_EQ(Form->RoungnessChart1->MarkerPoint, (TDoublePoint{r, 5}));
    }

    Form->Edit1->setText("");
    Form->Edit1->setText("abc");
    EXPECT_EQ(Dialogs.Warnings.size(), 2);
    EXPECT_EQ(Form->Edit3->text(), "0.10");
    EXPECT_EQ(Form->ReportLevels().LevelPercentRt, "abc");
}

// The level box is on screen only in the bearing-ratio view: a level that
// is not a number must not keep that view shut.
TEST_P(ViewsTest, ALevelThatIsNotANumberKeepsTheBearingViewReachable)
{
    ShowWindow();
    Display();
    Form->UpdateActions();
    Form->TPCurve->trigger();
    Form->Edit1->setText("abc");
    Form->RounessCurve->trigger();
    Dialogs.Warnings.clear();

    Form->TPCurve->trigger();
    EXPECT_TRUE(Form->BearingPanel->isVisible());
    EXPECT_TRUE(Form->Edit1->isVisible());
    EXPECT_TRUE(Form->Series3->visible());
    EXPECT_TRUE(Form->RoungnessChart1->yAxis->rangeReversed());
    EXPECT_EQ(Dialogs.Warnings.size(), Station() ? 1 : 0) << "the level is reported, once";

    Form->Edit1->setText("5"); // mended in its box
    EXPECT_EQ(Form->Edit2->text(), QString::asprintf("%.2f", ComLink.MaterialRatioAtDepth(5)));
}

TEST_P(ViewsTest, SpinButtonsStepAndClampTheLevelAndTheStep)
{
    struct Case {
        QLineEdit *TForm1::*edit;
        const char *level, *step;
        bool upDown1, up;
        const char *expected;
    } cases[] = {
        {&TForm1::Edit1, "98", "5", true, true, "100.00"},  {&TForm1::Edit1, "3", "5", true, false, "0.00"},
        {&TForm1::Edit1, "10", "2.5", true, true, "12.50"}, {&TForm1::Edit5, "5", "0.05", false, false, "0.00"},
        {&TForm1::Edit5, "5", "5", false, true, "5.10"},    {&TForm1::Edit5, "5", "100", false, true, "100.00"},
    };
    for (const Case &c : cases) {
        Form->Edit1->setText(c.level);
        Form->Edit5->setText(c.step);
        TUpDownButtons *buttons = c.upDown1 ? Form->UpDown1 : Form->UpDown2;
        (c.up ? buttons->UpButton : buttons->DownButton)->click();
        EXPECT_EQ((Form.get()->*c.edit)->text(), c.expected) << c.level << " " << c.step;
    }
    Form->Edit5->setText("x");
    Form->Edit1->setText("50");
    Form->UpDown1->UpButton->click();
    EXPECT_EQ(Form->Edit1->text(), "50");
    EXPECT_EQ(Dialogs.Warnings.size(), 1);
}

TEST_P(ViewsTest, ShowAsistLinePlacesTheCursorsAtAQuarterAndThreeQuartersOnce)
{
    ShowWindow();
    TRoungnessChart *chart = Form->RoungnessChart1;
    chart->xAxis->setRange(0, 4);
    Form->ShowAsistLineExecute();
    EXPECT_DOUBLE_EQ(chart->Position1.x, 1);
    EXPECT_DOUBLE_EQ(chart->Position2.x, 3);
    EXPECT_EQ(chart->ShowPosition1, 1);
    EXPECT_EQ(chart->ShowPosition2, 1);
    EXPECT_FALSE(chart->ZoomMode());
    Form->UpdateActions();
    EXPECT_FALSE(Form->ShowAsistLine->isEnabled());
    EXPECT_TRUE(Form->HideAsistLine->isEnabled());

    Form->HideAsistLineExecute();
    EXPECT_EQ(chart->ShowPosition1, 0);
    chart->xAxis->setRange(0, 8);
    Form->ShowAsistLineExecute();
    EXPECT_DOUBLE_EQ(chart->Position1.x, 1); // kept its place
}

TEST_P(ViewsTest, DraggingMovesTheNearerCursorAndWritesTheReadouts)
{
    ShowWindow();
    Display();
    TRoungnessChart *chart = Form->RoungnessChart1;
    Form->ShowAsistLineExecute();
    const QPoint first = chart->ValueToPixel(chart->Position1);
    const QPoint free = first + QPoint(20, -15);

    // Shift held, or another button: no cursor moves, the mouse readouts do.
    const TDoublePoint before = chart->Position1;
    Form->ChartMouseMove(free, Qt::LeftButton, Qt::ShiftModifier);
    Form->ChartMouseMove(free, Qt::RightButton, Qt::NoModifier);
    EXPECT_EQ(chart->Position1, before);
    EXPECT_EQ(Form->LBPosition1X->text(), "X=0um");
    double x = 0, y = 0;
    chart->PixelToValues(free, x, y);
    EXPECT_EQ(Form->LBMousePositionX->text(), QString::asprintf("X=%8.2fmm", x));
    EXPECT_EQ(Form->LBMousePositionY->text(), QString::asprintf("Y=%8.2fμm", y));
    EXPECT_EQ(Form->StatusPanelText(0), "曲线图");

    // A real drag through the chart's own mouse events.
    Form->RoungnessChart1->RepaintCursors();
    QTest::mousePress(chart, Qt::LeftButton, {}, first);
    QMouseEvent move(QEvent::MouseMove, QPointF(free), chart->mapToGlobal(QPointF(free)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(chart, &move);
    QTest::mouseRelease(chart, Qt::LeftButton, {}, free);
    const TDoublePoint p1 = chart->Position1, p2 = chart->Position2;
    EXPECT_NE(p1, before);
    EXPECT_NEAR(chart->ValueToPixel(p1).x(), free.x(), chart->selectionTolerance()); // on the curve
    EXPECT_EQ(Form->LBPosition1X->text(), QString::asprintf("X=%8.2fmm", p1.x));
    EXPECT_EQ(Form->LBPosition2Y->text(), QString::asprintf("Y=%8.2fμm", p2.y));
    EXPECT_EQ(Form->LBSpaceDx->text(), QString::asprintf("X=%8.2fmm", std::fabs(p2.x - p1.x)));
    EXPECT_EQ(Form->LBSpaceDy->text(), QString::asprintf("Y=%8.2fμm", std::fabs(p2.y - p1.y)));

    // In zoom mode the cursors stay put.
    Form->ZoomScaleExecute();
    EXPECT_EQ(chart->cursor().shape(), Qt::SizeAllCursor);
    Form->ChartMouseMove(free + QPoint(5, 5), Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(chart->Position1, p1);
}

TEST_P(ViewsTest, BearingViewReadoutsArePercentages)
{
    ShowWindow();
    Display();
    TRoungnessChart *chart = Form->RoungnessChart1;
    const QPoint at = chart->PlotRect().center();
    const struct {
        void (TForm1::*view)();
        const char *x, *y;
    } views[] = {{&TForm1::TPCurveExecute, "%", "%"}, {&TForm1::RounessCurveExecute, "mm", "μm"}};
    for (const auto &v : views) {
        SCOPED_TRACE(v.x);
        (Form.get()->*v.view)();
        chart->replot();
        Form->ChartMouseMove(at, Qt::LeftButton, Qt::NoModifier);
        double x = 0, y = 0;
        chart->PixelToValues(at, x, y);
        EXPECT_EQ(Form->LBMousePositionX->text(), QString::asprintf("X=%8.2f", x) + QString::fromUtf8(v.x));
        EXPECT_EQ(Form->LBMousePositionY->text(), QString::asprintf("Y=%8.2f", y) + QString::fromUtf8(v.y));
        EXPECT_TRUE(Form->LBPosition1X->text().endsWith(QString::fromUtf8(v.x)));
        EXPECT_TRUE(Form->LBSpaceDy->text().endsWith(QString::fromUtf8(v.y)));
    }
}

TEST_P(ViewsTest, DoubleClickPlacesBothPositionsButLeavesTheReadouts)
{
    ShowWindow();
    TRoungnessChart *chart = Form->RoungnessChart1;
    const QPoint at = chart->PlotRect().center();
    chart->SetZoomMode(false);
    Form->ChartDoubleClick(at);
    EXPECT_EQ(chart->ValueToPixel(chart->Position1), at);
    EXPECT_EQ(chart->ValueToPixel(chart->Position2), at + QPoint(10, 10));
    EXPECT_EQ(Form->LBPosition1X->text(), "X=0um");

    chart->SetZoomMode(true);
    Form->ChartDoubleClick(at + QPoint(50, 0));
    EXPECT_EQ(chart->ValueToPixel(chart->Position1), at);
}

TEST_P(ViewsTest, ScalingCommands)
{
    ShowWindow();
    Display();
    TRoungnessChart *chart = Form->RoungnessChart1;
    Form->ZoomScaleExecute();
    EXPECT_TRUE(chart->ZoomMode());
    Form->AutoScaleExecute();
    EXPECT_TRUE(chart->AxisAutomatic(chart->yAxis));
    EXPECT_LT(chart->yAxis->range().upper, 40); // fitted to the roughness profile
    Form->UpdateActions();
    EXPECT_FALSE(Form->AutoScale->isEnabled());
    EXPECT_TRUE(Form->CancleAutoScale->isEnabled());
    Form->CancleAutoScaleExecute();
    EXPECT_EQ(chart->yAxis->range(), QCPRange(-40, 40));
    EXPECT_TRUE(chart->ZoomMode()); // only the default view and the whole curve end zooming
    Form->ScreenAllExecute();
    EXPECT_FALSE(chart->ZoomMode());
    EXPECT_TRUE(chart->AxisAutomatic(chart->xAxis));
    EXPECT_TRUE(chart->AxisAutomatic(chart->yAxis));
    Form->DefaultViewPortExecute();
    EXPECT_EQ(chart->yAxis->range(), QCPRange(-40, 40));
    EXPECT_FALSE(chart->AxisAutomatic(chart->yAxis));
    EXPECT_TRUE(chart->AxisAutomatic(chart->xAxis));
}

TEST_P(ViewsTest, AxisClicksAskForLimitsAlsoInZoomMode)
{
    ShowWindow();
    TRoungnessChart *chart = Form->RoungnessChart1;
    const QRect plot = chart->PlotRect();
    const QPoint leftAxis(plot.left() - 3, plot.center().y());
    const QPoint bottomAxis(plot.center().x(), plot.bottom() + 5);
    ASSERT_TRUE(chart->ZoomMode());

    Dialogs.LineAnswers = {QString("20")};
    QTest::mouseClick(chart, Qt::LeftButton, {}, leftAxis);
    EXPECT_EQ(chart->yAxis->range(), QCPRange(-20, 20));
    EXPECT_EQ(Dialogs.LinePrompts, QStringList({"请输入值"}));

    // The bottom axis asks twice; cancelling keeps the shown two-decimal limit.
    Dialogs.LinePrompts.clear();
    chart->xAxis->setRange(0.004, 2.345);
    chart->SetAxisAutomatic(chart->xAxis, true);
    Dialogs.LineAnswers = {std::nullopt, QString("1")};
    QTest::mouseClick(chart, Qt::RightButton, {}, bottomAxis);
    EXPECT_EQ(Dialogs.LinePrompts, QStringList({"请输入值", "请输入最小值"}));
    EXPECT_EQ(chart->xAxis->range(), QCPRange(1, 2.35));
    EXPECT_FALSE(chart->AxisAutomatic(chart->xAxis));

    // Not a number, or a minimum above the maximum: reported, the limit stays.
    Dialogs.LineAnswers = {QString("abc")};
    QTest::mouseClick(chart, Qt::LeftButton, {}, leftAxis);
    Dialogs.LineAnswers = {QString("3"), QString("5")};
    QTest::mouseClick(chart, Qt::LeftButton, {}, bottomAxis);
    EXPECT_EQ(Dialogs.Warnings.size(), 2);
    EXPECT_EQ(chart->yAxis->range(), QCPRange(-20, 20));
    EXPECT_EQ(chart->xAxis->range(), QCPRange(1, 3));

    // The bearing view and the right axis: the axis only becomes manual.
    Form->TPCurveExecute();
    Dialogs.LinePrompts.clear();
    chart->SetAxisAutomatic(chart->yAxis, true);
    Form->ChartAxisClick(chart->yAxis);
    Form->ChartAxisClick(chart->yAxis2);
    EXPECT_TRUE(Dialogs.LinePrompts.isEmpty());
    EXPECT_FALSE(chart->AxisAutomatic(chart->yAxis));
}

INSTANTIATE_TEST_SUITE_P(Editions, ViewsTest, ::testing::Values(Edition::Station, Edition::View),
                         [](const auto &info) { return std::string(EditionName(info.param)); });

} // namespace
