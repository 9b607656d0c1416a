// The main window at the small and the large screen sizes operators use:
// nothing covers, cuts or hides what it shows.

#include "UiTestSupport.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

class LayoutTest : public MainWindowTest {
protected:
    void ShowAt(QSize size)
    {
        Form->resize(size);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        QTest::qWait(20); // let the layouts settle
        Form->RoungnessChart1->replot();
    }
};

const QSize Small(1024, 700), Large(1600, 1000);

TEST_P(LayoutTest, TheLogoCoversNoToolButton)
{
    for (QSize size : {Small, Large}) {
        SCOPED_TRACE(size.width());
        ShowAt(size);
        const QRect logo = Form->LogoPicture->geometry();
        EXPECT_TRUE(Form->LogoPicture->isVisible());
        for (const QToolButton *button : Form->ToolBar1->findChildren<QToolButton *>())
            if (button->isVisible()) {
                EXPECT_FALSE(logo.intersects(button->geometry())) << button->objectName().toStdString();
            }
    }
}

TEST_P(LayoutTest, ALineOfSixResultsFitsTheMessageBoxAtTheLargeSize)
{
    ShowAt(Large);
    Display();
    const QFontMetrics metrics(Form->Memo1->font());
    const int room = Form->Memo1->viewport()->width();
    const QStringList lines = Form->Memo1->toPlainText().split('\n');
    ASSERT_GE(lines.size(), 3);
    for (QString line : lines) {
        while (line.endsWith(' '))
            line.chop(1);
        EXPECT_LE(metrics.horizontalAdvance(line), room) << line.toStdString();
    }
}

TEST_P(LayoutTest, TheSidePanelShowsItsLastReadoutInALowWindow)
{
    ShowAt(QSize(1024, 560));
    EXPECT_LE(Form->LBSpaceDy->geometry().bottom(), Form->Panel1->contentsRect().bottom());
    EXPECT_LE(Form->LBSpaceDx->x() + Form->LBSpaceDx->sizeHint().width(), Form->Panel1->contentsRect().right());
}

// corviaview's two "%" labels name the units of the bearing-ratio axes; they
// must not land on a tick label at any chart size.
TEST_P(LayoutTest, ThePercentLabelsSitClearOfTheTickLabels)
{
    if (Station())
        GTEST_SKIP() << "corviastation has no percent labels";
    Display();
    for (QSize size : {Small, Large}) {
        SCOPED_TRACE(size.width());
        ShowAt(size);
        Form->TPCurveExecute();
        Form->RoungnessChart1->replot();
        TRoungnessChart *chart = Form->RoungnessChart1;
        const QRect plot = chart->PlotRect();
        std::vector<QRect> tickLabels;
        for (QCPAxis *axis : {chart->xAxis, chart->yAxis, chart->yAxis2}) {
            const QFontMetrics metrics(axis->tickLabelFont());
            const QVector<double> ticks = axis->tickVector();
            const QVector<QString> texts = axis->tickVectorLabels();
            for (int i = 0; i < ticks.size(); ++i) {
                if (!axis->range().contains(ticks[i]))
                    continue;
                const int at = int(axis->coordToPixel(ticks[i]));
                QRect text(QPoint(0, 0), metrics.size(0, texts[i]));
                if (axis == chart->xAxis)
                    text.moveCenter(QPoint(at, plot.bottom() + 4 + text.height() / 2));
                else if (axis == chart->yAxis)
                    text.moveTopRight(QPoint(plot.left() - 4, at - text.height() / 2));
                else
                    text.moveTopLeft(QPoint(plot.right() + 4, at - text.height() / 2));
                tickLabels.push_back(text);
            }
        }
        ASSERT_FALSE(tickLabels.empty());
        for (const QLabel *label : {Form->PercentLabelBottom, Form->PercentLabelLeft}) {
            EXPECT_TRUE(label->isVisible());
            const QRect drawn = label->geometry();
            EXPECT_TRUE(chart->rect().contains(drawn));
            for (const QRect &tick : tickLabels)
                EXPECT_FALSE(drawn.intersects(tick)) << "over a tick label at " << tick.x() << "," << tick.y();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Editions, LayoutTest, ::testing::Values(Edition::Station, Edition::View),
                         [](const auto &info) { return std::string(EditionName(info.param)); });

} // namespace
