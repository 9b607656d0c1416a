// The stylus position window: its opening sequence, the scale it sets for
// the range and unit system, and the point it plots each second.

#include "FormsFixture.h"
#include "link/PickUpFm.h"

#include <qcustomplot.h>

#include <QLabel>
#include <QTimer>

namespace {

class StylusWindow : public FormsFixture {
protected:
    // Runs the opening sequence; `whileShown` runs inside the modal window,
    // which is then closed.
    void Open(const std::function<void()> &whileShown)
    {
        QTimer watcher;
        watcher.setInterval(5);
        QObject::connect(&watcher, &QTimer::timeout, &Form2, [&] {
            if (!Form2.isVisible())
                return; // the sequence is still talking to the tester
            watcher.stop();
            Shown = true;
            TimerWhileShown = Form2.Timer1->isActive();
            whileShown();
            Form2.close();
        });
        Shown = false;
        watcher.start();
        Form2.ShowStylusPosition();
    }

    TForm2 Form2{Session, Dialogs};
    bool Shown = false;
    bool TimerWhileShown = false;
};

TEST_F(StylusWindow, OpeningScalesForTheRangeAndPlotsEachPosition)
{
    const struct {
        const char *name;
        QByteArray conditions;
        double top, bottom;
        QString label;
        int16_t raw;
        double plotted;
    } cases[] = {
        {"metric ±40 μm", ConditionsReply(2, 4, 0, 2, 2, 0), 40, -40.002, QStringLiteral("量程:±40μm"), 1024, 20},
        {"imperial range code 3", ConditionsReply(2, 4, 0, 3, 2, 1), 3.2, -3.2 - 3.2 / 60,
         QStringLiteral("量程:±3200uin"), 1024, 1.6},
        {"metric ±80 μm, stylus low", ConditionsReply(2, 4, 0, 3, 2, 0), 80, -80.004, QStringLiteral("量程:±80μm"),
         -2048, -80},
        {"automatic range: the range the tester used", ConditionsReply(2, 4, 0, 0, 2, 0), 20, -20.001,
         QStringLiteral("量程:自动"), 512, 5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Connect();
        Reply('t', c.conditions);
        Reply('l', bytes({1, 2}));
        Reply('a'); // enters stylus mode
        Reply('k', PositionReply(c.raw));
        Reply('a'); // leaves it
        std::optional<double> plotted;
        Open([&] {
            EXPECT_EQ(Session.LinkState, LinkStylusMode);
            Form2.Timer1Timer();
            plotted = Form2.PlottedValue();
        });
        EXPECT_TRUE(Shown);
        EXPECT_TRUE(TimerWhileShown);
        EXPECT_FALSE(Form2.Timer1->isActive());
        EXPECT_NEAR(Form2.Chart1->yAxis->range().upper, c.top, 1e-9);
        EXPECT_NEAR(Form2.Chart1->yAxis->range().lower, c.bottom, 1e-9);
        EXPECT_EQ(Form2.Label2->text(), c.label);
        ASSERT_TRUE(plotted.has_value());
        EXPECT_NEAR(*plotted, c.plotted, 1e-9);
        EXPECT_EQ(SubCommands(), QStringLiteral("tlkkk"));
        EXPECT_EQ(PayloadOf(2), bytes({0}));
        EXPECT_EQ(PayloadOf(3), bytes({1}));
        EXPECT_EQ(PayloadOf(4), bytes({2}));
        EXPECT_EQ(Session.LinkState, LinkIdle);
    }
}

TEST_F(StylusWindow, NothingIsShownWhenTheTesterRefusesStylusMode)
{
    const struct {
        const char *name;
        QByteArray answer;
        int errorCode;
    } cases[] = {
        {"error reply", ReplyFrame::Error(4), 4},
        {"no reply", {}, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Connect();
        Reply('t', ConditionsReply(2, 4, 0, 2, 2, 0));
        Reply('l', bytes({2, 2}));
        Fake->QueueReply(Port, c.answer);
        Open([] {});
        EXPECT_FALSE(Shown);
        EXPECT_EQ(SubCommands(), QStringLiteral("tlk")); // no exit without an entry
        EXPECT_EQ(Session.ErrorCode, c.errorCode);
        EXPECT_NE(Session.LinkState, LinkStylusMode);
        Session.ErrorCode = -1;
    }
}

TEST_F(StylusWindow, ATickWithoutAReplyPlotsNothing)
{
    Connect();
    Session.Tester.Conditions.Range = 2;
    Form2.SetVerticalAxis();
    Reply('k', PositionReply(-1024));
    Form2.Timer1Timer();
    EXPECT_EQ(Form2.PlottedValue(), std::optional<double>(-20));
    EXPECT_TRUE(Form2.Series2Mark->visible());
    EXPECT_EQ(Form2.Series2Mark->text(), QStringLiteral("-20"));

    NoReply();
    Form2.Timer1Timer();
    EXPECT_EQ(Form2.PlottedValue(), std::nullopt);
    EXPECT_FALSE(Form2.Series2Mark->visible());
    EXPECT_TRUE(Dialogs.Warnings.isEmpty());
}

TEST_F(StylusWindow, TheChartHasTheFixedHorizontalSpanAndTheDesignScale)
{
    EXPECT_EQ(Form2.windowTitle(), QStringLiteral("拾取针位示意图"));
    EXPECT_EQ(Form2.Timer1->interval(), 1000);
    EXPECT_FALSE(Form2.Timer1->isActive());
    EXPECT_FALSE(Form2.Chart1->xAxis->visible());
    EXPECT_EQ(Form2.Chart1->xAxis->range(), QCPRange(0, 10));
    EXPECT_EQ(Form2.Chart1->yAxis->range(), QCPRange(-100, 100));
    EXPECT_FALSE(Form2.Chart1->legend->visible());
    EXPECT_EQ(Form2.Chart1->interactions(), QCP::Interactions());
    // No range known yet (automatic, nothing measured): the design scale stays.
    Session.Tester.Conditions.Range = 0;
    Form2.SetVerticalAxis();
    EXPECT_EQ(Form2.Chart1->yAxis->range(), QCPRange(-100, 100));
}

} // namespace
