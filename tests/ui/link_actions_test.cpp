// The actions that drive the tester, against a scripted serial layer.

#include "UiTestSupport.h"
#include "link/LinkMessages.h"
#include "link/ReplyFrame.h"
#include "link/ScriptedComm.h"

#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>

namespace {

class LinkActionsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Comm = std::make_shared<ScriptedComm>();
        ComLink.UseComm(Comm);
    }
    // A tester on port 3 that acknowledges everything and reports its conditions.
    void TesterOnPort3()
    {
        Comm->Present = {3};
        Comm->Responder = [](int, const QByteArray &frame) {
            const char command = frame.size() > 2 ? frame[2] : 0;
            if (command == 't')
                return ReplyFrame::Build('t', QByteArray("\x03\x02\x01\x03\x00\x00", 6));
            if (command == 'l')
                return ReplyFrame::Build('l', QByteArray("\x03\x03", 2));
            return ReplyFrame::Build('a');
        };
    }
    std::shared_ptr<ScriptedComm> Comm;
};

TEST_P(LinkActionsTest, ConnectWithoutATesterWarnsOnceAndStaysDisconnected)
{
    Comm->Present = {1, 2};
    Form->UpdateActions();
    Form->StartConnect->trigger();
    EXPECT_EQ(Dialogs.Warnings, QStringList({"无法连接到PX510上，请确认是否已经连接好了设备！"}));
    EXPECT_EQ(ComLink.LinkState, LinkDisconnected);
    EXPECT_EQ(Form->StatusPanelText(1), "取样长度：");
}

TEST_P(LinkActionsTest, ConnectReadsAndPushesTheConditionsAndShowsThem)
{
    TesterOnPort3();
    Form->UpdateActions();
    Form->StartConnect->trigger();
    EXPECT_TRUE(Dialogs.Warnings.isEmpty());
    EXPECT_EQ(ComLink.PortNo, 3);
    EXPECT_EQ(ComLink.LinkState, LinkIdle);
    EXPECT_EQ(Form->StatusPanelText(1), "取样长度:2.5mm");
    EXPECT_EQ(Form->StatusPanelText(3), "量程:±80μm");
    EXPECT_EQ(Form->StatusPanelText(5), "标准:DIN");
    std::string commands;
    for (const QByteArray &frame : Comm->Written(3))
        commands += frame[2];
    EXPECT_EQ(commands, "wtlc"); // connect, conditions, range and cutoff used, conditions back
    EXPECT_FALSE(Form->StartConnect->isEnabled());
    EXPECT_TRUE(Form->RunMeasure->isEnabled());
}

TEST_P(LinkActionsTest, MeasureClearsTheDataAndStartsTheProgressWatchOnlyWhenAcknowledged)
{
    TesterOnPort3();
    ASSERT_TRUE(ComLink.Connect());
    Display();
    int watches = 0;
    Form->Hooks.StartProgressWatch = [&watches] { ++watches; };
    Form->UpdateActions();
    Form->RunMeasure->trigger();
    EXPECT_FALSE(ComLink.HasData);
    EXPECT_FALSE(Form->SaveData->isEnabled());
    EXPECT_EQ(ComLink.LinkState, LinkMeasuring);
    EXPECT_EQ(watches, 1);
    EXPECT_GT(Form->Series1->dataCount(), 0); // the old curves stay until the new ones come

    ComLink.LinkState = LinkIdle;
    Comm->Responder = [](int, const QByteArray &) { return ReplyFrame::Error(4); };
    Form->UpdateActions();
    Form->RunMeasure->trigger();
    EXPECT_EQ(watches, 1);
    EXPECT_EQ(ComLink.LinkState, LinkError);
    EXPECT_TRUE(Dialogs.Warnings.isEmpty()); // the progress window tells of tester errors
}

TEST_P(LinkActionsTest, LinkTimerRepeatsTheHandshakeOnlyWhileConnectedAndIdle)
{
    TesterOnPort3();
    ASSERT_TRUE(ComLink.Connect());
    for (uint8_t state : {LinkIdle, LinkDownloadComplete, LinkMeasuring, LinkDisconnected}) {
        const size_t before = Comm->Written(3).size();
        ComLink.LinkState = state;
        Form->LinkTimerTick();
        EXPECT_EQ(Comm->Written(3).size() - before, state == LinkIdle ? 1u : 0u) << int(state);
    }
}

TEST_P(LinkActionsTest, ReadAgainThatFailsChangesNothingOnScreen)
{
    TesterOnPort3();
    ASSERT_TRUE(ComLink.Connect());
    Comm->Responder = [](int, const QByteArray &) { return ReplyFrame::Error(1); };
    Form->UpdateActions();
    Form->LoadData->trigger();
    EXPECT_TRUE(Form->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(Form->Series2->dataCount(), 0);
}
TEST_P(LinkActionsTest, APortLostDuringADownloadIsToldOnce)
{
    TesterOnPort3();
    ASSERT_TRUE(ComLink.Connect());
    Comm->QueueVanish(3); // the adapter is pulled while the conditions are read
    Comm->Arrive(3, ReplyFrame::Build('s'));
    QCoreApplication::processEvents();
    EXPECT_EQ(ComLink.LinkState, LinkDisconnected);
    EXPECT_FALSE(ComLink.HasData);
    EXPECT_EQ(Dialogs.Warnings, QStringList{LinkLostMessage()});
    Comm->Vanish(3); // the layer reporting it again changes nothing
    QCoreApplication::processEvents();
    EXPECT_EQ(Dialogs.Warnings.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Editions, LinkActionsTest, ::testing::Values(Edition::Station, Edition::View),
                         [](const auto &info) { return std::string(EditionName(info.param)); });

} // namespace
