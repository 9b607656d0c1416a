// The roughness chart: cursor picking and snapping, what its paint adds to
// the library's picture, and the picture it renders for other painters.

#include "chart/RoungnessChart.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ChartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        chart.resize(800, 600);
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        chart.xAxis->setRange(0, 100);
        chart.yAxis->setRange(-50, 50);
        chart.replot();
    }

    // Places a position so that its pixel is exactly `pixel`.
    TDoublePoint at(QPoint pixel) const { return chart.PixelToValue(pixel); }
    QPoint centre() const { return chart.PlotRect().center(); }

    QCPGraph *addLine(const QColor &colour, double slope, double offset)
    {
        QCPGraph *graph = chart.addGraph();
        graph->setPen(QPen(colour));
        for (int i = 0; i <= 100; ++i)
            graph->addData(i, slope * i + offset);
        chart.replot();
        return graph;
    }

    static bool hasColour(const QImage &image, const QColor &colour)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour)
                    return true;
        return false;
    }

    TRoungnessChart chart;
};

TEST_F(ChartTest, StartsWithNothingPickedAndRadius100)
{
    TRoungnessChart fresh;
    EXPECT_EQ(fresh.ActivePosition, 0);
    EXPECT_EQ(fresh.HitRadius, 100);
    EXPECT_EQ(fresh.MarkerMode, 0);
    EXPECT_EQ(fresh.ShowPosition1, 0);
    EXPECT_EQ(fresh.ShowPosition2, 0);
    EXPECT_EQ(fresh.Position1, TDoublePoint{});
    EXPECT_TRUE(fresh.ZoomMode());
}

TEST_F(ChartTest, ConvertsBetweenPixelsAndAxisValues)
{
    const QRect plot = chart.PlotRect();
    EXPECT_EQ(chart.ValueToPixel({0, 50}), plot.topLeft());
    EXPECT_EQ(chart.ValueToPixel({100, -50}), plot.bottomRight() + QPoint(1, 1));
    EXPECT_EQ(chart.ValueToPixel(chart.PixelToValue({300, 200})), QPoint(300, 200));
    double x = 0, y = 0;
    chart.PixelToValues(chart.ValueToPixel({25, 10}), x, y);
    EXPECT_NEAR(x, 25, 0.2);
    EXPECT_NEAR(y, 10, 0.2);
    EXPECT_DOUBLE_EQ(TRoungnessChart::PixelDistance({0, 0}, {3, 4}), 5.0);
}

TEST_F(ChartTest, HitTestPicksTheNearerPositionWithinTheRadius)
{
    struct Case {
        int toFirst, toSecond, expected;
    } cases[] = {
        {99, 150, 1}, {150, 99, 2}, {100, 150, 0}, {150, 100, 0}, {60, 60, 0}, {0, 0, 0}, {120, 130, 0},
    };
    for (const Case &c : cases) {
        const QPoint mouse = centre();
        chart.Position1 = at(mouse + QPoint(c.toFirst, 0));
        chart.Position2 = at(mouse - QPoint(0, c.toSecond));
        chart.ActivePosition = -1;
        EXPECT_EQ(chart.HitTestCursor(mouse), c.expected) << c.toFirst << " / " << c.toSecond;
        EXPECT_EQ(chart.ActivePosition, c.expected);
    }
}

TEST_F(ChartTest, MovingSnapsOntoACurvePointOrTakesTheMouseExactly)
{
    addLine(Qt::blue, 0.4, -20);
    const QPoint onLine = chart.ValueToPixel({40, -4}); // the curve's point at x = 40
    chart.Position1 = at(onLine + QPoint(30, 0));
    chart.Position2 = at(onLine + QPoint(300, 0));

    chart.MoveActivePosition(onLine + QPoint(0, 2));
    EXPECT_EQ(chart.Position1, (TDoublePoint{40, -4}));

    const QPoint empty = onLine + QPoint(20, -60); // far above the curve
    chart.MoveActivePosition(empty);
    EXPECT_EQ(chart.Position1, chart.PixelToValue(empty));

    // Nothing within reach: neither position moves.
    const TDoublePoint first = chart.Position1, second = chart.Position2;
    chart.MoveActivePosition(empty + QPoint(-150, 150));
    EXPECT_EQ(chart.Position1, first);
    EXPECT_EQ(chart.Position2, second);
}

TEST_F(ChartTest, TheLastCurveUnderTheMouseWinsAndHiddenCurvesAreIgnored)
{
    addLine(Qt::blue, 0, 0);
    QCPGraph *second = addLine(Qt::darkCyan, 0, 0.5);
    const QPoint mouse = chart.ValueToPixel({50, 0.25});
    chart.Position1 = at(mouse + QPoint(10, 0));
    chart.Position2 = at(mouse + QPoint(400, 0));

    chart.MoveActivePosition(mouse);
    EXPECT_EQ(chart.Position1, (TDoublePoint{50, 0.5}));

    second->setVisible(false);
    chart.MoveActivePosition(mouse);
    EXPECT_EQ(chart.Position1, (TDoublePoint{50, 0}));
}

TEST_F(ChartTest, PaintAddsCrossHairsAndZeroLineOnlyInsideThePlot)
{
    chart.Position1 = {30, 20};
    chart.Position2 = {70, -20};
    chart.ShowPosition1 = 1;
    chart.ShowPosition2 = 1;
    chart.replot();
    QImage image = chart.grab().toImage();
    const QPoint p1 = chart.ValueToPixel(chart.Position1);
    const QPoint p2 = chart.ValueToPixel(chart.Position2);
    const QPoint zero = chart.ValueToPixel({50, 0});
    const QRect plot = chart.PlotRect();
    EXPECT_EQ(image.pixelColor(p1.x(), plot.top() + 5), TRoungnessChart::Red);
    EXPECT_EQ(image.pixelColor(plot.left() + 5, p1.y()), TRoungnessChart::Red);
    EXPECT_EQ(image.pixelColor(p1 + QPoint(1, 1)), TRoungnessChart::Red); // the dot
    EXPECT_EQ(image.pixelColor(p2.x(), plot.bottom() - 5), TRoungnessChart::Green);
    EXPECT_EQ(image.pixelColor(plot.left() + 3, zero.y()), TRoungnessChart::Navy);

    // Zoomed away: nothing is drawn, the values stay and come back with the view.
    chart.xAxis->setRange(50, 60);
    chart.yAxis->setRange(5, 10);
    chart.replot();
    image = chart.grab().toImage();
    EXPECT_FALSE(hasColour(image, TRoungnessChart::Red));
    EXPECT_FALSE(hasColour(image, TRoungnessChart::Green));
    EXPECT_FALSE(hasColour(image, TRoungnessChart::Navy));
    EXPECT_EQ(chart.Position1, (TDoublePoint{30, 20}));
}

TEST_F(ChartTest, CornerMarkerReplacesTheZeroLine)
{
    chart.MarkerMode = 1;
    chart.MarkerPoint = {40, 10};
    chart.replot();
    const QImage image = chart.grab().toImage();
    const QPoint corner = chart.ValueToPixel({40, 10});
    const QRect plot = chart.PlotRect();
    EXPECT_EQ(image.pixelColor(plot.left() + 4, corner.y()), TRoungnessChart::Red);
    EXPECT_EQ(image.pixelColor(corner.x(), plot.bottom() - 4), TRoungnessChart::Red);
    EXPECT_NE(image.pixelColor(corner.x() + 4, corner.y()), TRoungnessChart::Red);
    EXPECT_FALSE(hasColour(image, TRoungnessChart::Navy));

    chart.MarkerMode = 2; // neither
    chart.RepaintCursors();
    EXPECT_FALSE(hasColour(chart.grab().toImage(), TRoungnessChart::Red));
}

TEST_F(ChartTest, DrawToCanvasRendersTheCurvesWithoutTheAdditions)
{
    addLine(Qt::blue, 0.5, -25);
    chart.Position1 = {30, 20};
    chart.ShowPosition1 = 1;
    chart.replot();
    const QRect before = chart.PlotRect();

    QImage page(1000, 700, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        chart.DrawToCanvas(painter, QRect(100, 50, 600, 400));
    }
    EXPECT_TRUE(hasColour(page.copy(100, 50, 600, 400), Qt::blue));
    EXPECT_FALSE(hasColour(page, TRoungnessChart::Red));
    EXPECT_FALSE(hasColour(page, TRoungnessChart::Navy));
    EXPECT_EQ(page.pixelColor(50, 20), QColor(Qt::white)); // nothing outside the rectangle
    EXPECT_EQ(page.pixelColor(750, 500), QColor(Qt::white));
    EXPECT_EQ(chart.PlotRect(), before); // the screen layout is back
}

TEST_F(ChartTest, DrawToCanvasScalesWithThePainterOnAFineDevice)
{
    // A 600 dpi page painted through a scale of 6.25: the chart fills the same
    // share of the page as on a 96 dpi one, text included.
    auto inkedRows = [](const QImage &image) {
        int rows = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    ++rows;
                    break;
                }
        return rows;
    };
    chart.xAxis->setLabel(QStringLiteral("mm"));
    QImage screen(400, 300, QImage::Format_RGB32), fine(2500, 1875, QImage::Format_RGB32);
    screen.fill(Qt::white);
    fine.fill(Qt::white);
    fine.setDotsPerMeterX(23622);
    fine.setDotsPerMeterY(23622);
    {
        QPainter painter(&screen);
        chart.DrawToCanvas(painter, screen.rect());
    }
    {
        QPainter painter(&fine);
        painter.scale(6.25, 6.25);
        chart.DrawToCanvas(painter, QRect(0, 0, 400, 300));
    }
    EXPECT_NEAR(inkedRows(fine) / 6.25, inkedRows(screen), inkedRows(screen) * 0.15);
}

TEST_F(ChartTest, AutomaticAxesFitTheShownCurvesAndZoomMakesThemManual)
{
    addLine(Qt::blue, 1, 0); // 0 .. 100 over x 0 .. 100
    chart.SetAxisAutomatic(chart.yAxis, true);
    chart.replot();
    EXPECT_DOUBLE_EQ(chart.yAxis->range().upper, 100);
    EXPECT_DOUBLE_EQ(chart.yAxis->range().lower, 0);

    const QRect plot = chart.PlotRect();
    QTest::mousePress(&chart, Qt::LeftButton, {}, plot.topLeft() + QPoint(20, 20));
    QTest::mouseMove(&chart, plot.center());
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, plot.center());
    chart.replot();
    EXPECT_FALSE(chart.AxisAutomatic(chart.yAxis));
    EXPECT_LT(chart.yAxis->range().upper, 100);
}

TEST_F(ChartTest, AxisClicksArriveInZoomModeToo)
{
    QSignalSpy clicks(&chart, &TRoungnessChart::AxisClicked);
    const QRect plot = chart.PlotRect();
    for (bool zoom : {true, false}) {
        chart.SetZoomMode(zoom);
        clicks.clear();
        QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(plot.left() - 3, plot.center().y()));
        QTest::mouseClick(&chart, Qt::RightButton, {}, QPoint(plot.center().x(), plot.bottom() + 4));
        QTest::mouseClick(&chart, Qt::LeftButton, {}, plot.center());
        ASSERT_EQ(clicks.size(), 2) << "zoom " << zoom;
        EXPECT_EQ(clicks[0][0].value<QCPAxis *>(), chart.yAxis);
        EXPECT_EQ(clicks[1][0].value<QCPAxis *>(), chart.xAxis);
    }
}

} // namespace
