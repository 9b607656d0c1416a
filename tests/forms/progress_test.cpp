// The progress window: what each tick of its timer does with the session's
// state, and how an error the tester reported ends the link.

#include "FormsFixture.h"
#include "link/HintFm.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace {

const QString Measuring = QStringLiteral("正在测量,请稍候......");
const QString Sending = QStringLiteral("正在传输数据,请稍候......");
const QString Complete = QStringLiteral("数据传输完毕!");

class ProgressWindow : public FormsFixture {
protected:
    TForm7 Form7{Session, Dialogs};
};

TEST_F(ProgressWindow, TicksFollowTheLinkState)
{
    const struct {
        const char *name;
        uint8_t state;
        int percent;
        bool visibleBefore;
        int barBefore;
        bool visibleAfter;
        int barAfter;
        QString text;
    } cases[] = {
        {"measuring shows the window and steps the bar", LinkMeasuring, 0, false, 0, true, 1, Measuring},
        {"measuring steps up to the full bar", LinkMeasuring, 0, true, 19, true, 20, Measuring},
        {"a full bar stays full", LinkMeasuring, 0, true, 20, true, 20, Measuring},
        {"downloading shows the percentage in fifths", LinkDownloading, 37, false, 3, true, 7, Sending},
        {"downloading all", LinkDownloading, 100, true, 7, true, 20, Sending},
        {"complete closes and resets", LinkDownloadComplete, 100, true, 12, false, 0, Complete},
        {"complete while hidden changes only the text", LinkDownloadComplete, 100, false, 12, false, 12, Complete},
        {"idle closes the window", LinkIdle, 0, true, 12, false, 12, QStringLiteral("HintLable")},
        {"stylus mode closes the window", LinkStylusMode, 0, true, 5, false, 5, QStringLiteral("HintLable")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TForm7 form(Session, Dialogs);
        Session.LinkState = c.state;
        Session.DownloadPercent = c.percent;
        form.ProgressBar1->setValue(c.barBefore);
        form.setVisible(c.visibleBefore);
        form.Timer1Timer();
        EXPECT_EQ(form.isVisible(), c.visibleAfter);
        EXPECT_EQ(form.ProgressBar1->value(), c.barAfter);
        EXPECT_EQ(form.HintLable->text(), c.text);
        EXPECT_TRUE(form.Timer1->isActive());
    }
    EXPECT_TRUE(Dialogs.Warnings.isEmpty());
}

TEST_F(ProgressWindow, SeventyFiveSecondsOfMeasuringFillTheBarAfterSixty)
{
    Session.LinkState = LinkMeasuring;
    for (int tick = 1; tick <= 25; ++tick) {
        Form7.Timer1Timer();
        EXPECT_EQ(Form7.ProgressBar1->value(), std::min(tick, 20)) << "after " << tick * 3 << " s";
    }
}

TEST_F(ProgressWindow, AnErrorIsShownOnceAndClosesTheLink)
{
    const struct {
        int code;
        bool visible;
        QString message;
    } cases[] = {
        {200, true, QStringLiteral("PX510 出错：错误类型(未知错误!)")},
        {3, false, QStringLiteral("PX510 出错：错误类型(电机走死!)")}, // hidden: the box still comes
        {129, true, QStringLiteral("PX510 出错：错误类型(包号超出范围!)")},
    };
    Connect();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        ScriptedDialogs dialogs;
        TForm7 form(Session, dialogs);
        Session.LinkState = LinkDownloading;
        Session.ErrorCode = c.code;
        form.setVisible(c.visible);
        form.ProgressBar1->setValue(4);
        Reply('a'); // to the disconnect
        form.Timer1Timer();
        EXPECT_EQ(dialogs.Warnings, QStringList{c.message});
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.Timer1->isActive());
        EXPECT_EQ(Session.LinkState, LinkDisconnected);
        EXPECT_EQ(SubCommands().right(1), QStringLiteral("o"));
        // Nothing else happens on that tick.
        EXPECT_EQ(form.HintLable->text(), QStringLiteral("HintLable"));
        EXPECT_EQ(form.ProgressBar1->value(), 4);
        Session.ErrorCode = -1;
        Fake->Present.insert(Port);
        Reply('a');
        ASSERT_TRUE(Session.Connect());
    }
}

TEST_F(ProgressWindow, WatchesFromCreationAndAgainAfterAnAcknowledgedStart)
{
    EXPECT_EQ(Form7.windowTitle(), QStringLiteral("提示对话框"));
    EXPECT_EQ(Form7.Timer1->interval(), 3000);
    EXPECT_TRUE(Form7.Timer1->isActive());
    EXPECT_FALSE(Form7.isModal());
    EXPECT_TRUE(Form7.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(Form7.ProgressBar1->maximum(), 20);

    Session.ErrorCode = 4; // a refused start, with no link to close
    Form7.Timer1Timer();
    EXPECT_EQ(Dialogs.Warnings, QStringList{QStringLiteral("PX510 出错：错误类型(传感器返回中!)")});
    EXPECT_FALSE(Form7.Timer1->isActive());
    Session.ResetMeasurement();
    Form7.StartWatching();
    EXPECT_TRUE(Form7.Timer1->isActive());
}

TEST_F(ProgressWindow, TheAnimationRunsOnlyWhileShown)
{
    Form7.show();
    EXPECT_TRUE(Form7.Animation->Running());
    Form7.hide();
    EXPECT_FALSE(Form7.Animation->Running());
}

} // namespace
