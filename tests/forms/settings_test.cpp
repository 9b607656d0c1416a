// The settings dialog: item texts per unit system, what 确定 sends and how
// it judges the tester's answer, and 取消.

#include "../files/SampleMeasurement.h"
#include "FormsFixture.h"
#include "ui/ParaConfigFm.h"
#include "ui/main.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

const QStringList ImperialRanges = {"自动", "±800uin", "±1600uin", "±3200uin"};
const QStringList ImperialCutoffs = {"自动", "0.01inch", "0.03inch", "0.1inch"};
const QStringList MetricRanges = {"自动", "±20μm", "±40μm", "±80μm"};
const QStringList MetricCutoffs = {"自动", "0.25mm", "0.8mm", "2.5mm"};

class SettingsDialog : public FormsFixture {
protected:
    void SetUp() override
    {
        FormsFixture::SetUp();
        Form5.Hooks.UpdateStatusBar = [this] { Form1.UpdateStatusBar(); };
        Form5.Hooks.ShowMeasurement = [this] { Form1.ShowMeasurement(); };
    }
    // A measurement on screen: ±80 μm, 0.8 mm, five lengths, GAUSS, DIN, metric.
    void ShowMeasurement()
    {
        fillMeasurement(Session);
        Form1.ShowMeasurement();
    }
    int ResultBlocks() const { return int(Form1.Memo1->toPlainText().count(QStringLiteral("数据："))); }
    std::vector<int> Selections() const
    {
        return {Form5.rdrange->ItemIndex(),  Form5.rdcufoff->ItemIndex(),   Form5.rdaccess->ItemIndex(),
                Form5.rdfilter->ItemIndex(), Form5.rdstandard->ItemIndex(), Form5.rdunit->ItemIndex()};
    }
    QStringList StatusPanels() const
    {
        QStringList panels;
        for (int i = 1; i <= 6; ++i)
            panels << Form1.StatusPanelText(i);
        return panels;
    }

    TForm1 Form1{Session, Dialogs, Edition::Station};
    TForm5 Form5{Session, Dialogs};
};

TEST_F(SettingsDialog, ShowsTheStoredValuesLabelledForTheirUnitSystem)
{
    EXPECT_EQ(Form5.windowTitle(), QStringLiteral("参数设置"));
    EXPECT_EQ(Form5.PageControl1->tabText(0), QStringLiteral("测量条件"));
    EXPECT_EQ(Form5.rdfilter->Items(), (QStringList{"RC", "PC-RC", "Gauss", "D-P"}));
    Session.Tester.UnitSystem = 1;
    Session.Tester.Conditions = TConditions{1, 3, 2, 3, 2};
    Form5.show();
    EXPECT_EQ(Form5.rdrange->Items(), ImperialRanges);
    EXPECT_EQ(Form5.rdcufoff->Items(), ImperialCutoffs);
    EXPECT_EQ(Selections(), (std::vector<int>{1, 3, 2, 3, 2, 1}));

    // Choices in range and cutoff are undone when the unit system is switched.
    Form5.rdrange->ClickItem(2);
    Form5.rdcufoff->ClickItem(0);
    Form5.rdunit->ClickItem(0);
    EXPECT_EQ(Form5.rdrange->Items(), MetricRanges);
    EXPECT_EQ(Form5.rdcufoff->Items(), MetricCutoffs);
    EXPECT_EQ(Form5.rdrange->ItemIndex(), 1);
    EXPECT_EQ(Form5.rdcufoff->ItemIndex(), 3);
    Form5.rdunit->ClickItem(1);
    EXPECT_EQ(Form5.rdrange->Items(), ImperialRanges);
    EXPECT_TRUE(SubCommands().isEmpty());
}

// The conditions go to the tester, for the next measurement; the one on
// screen keeps its own and is converted to the new unit system.
TEST_F(SettingsDialog, AnAcceptedChangeSetsTheTesterAndConvertsTheMeasurement)
{
    Connect();
    ShowMeasurement();
    ASSERT_EQ(ResultBlocks(), 1);
    Form5.show();
    Form5.rdunit->ClickItem(1);     // 英制
    Form5.rdstandard->ClickItem(2); // JIS
    Form5.rdcufoff->ClickItem(1);   // 0.01inch
    Reply('a');                     // conditions
    Reply('a');                     // unit system
    Form5.Button1->click();

    EXPECT_EQ(Dialogs.Informations, QStringList{QStringLiteral("配置成功！")});
    EXPECT_EQ(SubCommands(), QStringLiteral("cu"));
    // The tester's settings as shown, with the choices: cutoff, lengths, standard, range, filter.
    EXPECT_EQ(PayloadOf(0), bytes({1, 4, 2, 2, 2}));
    EXPECT_EQ(PayloadOf(1), bytes({1}));
    EXPECT_EQ(Session.Tester.Conditions, (TConditions{2, 1, 4, 2, 2}));
    EXPECT_EQ(Session.Tester.UnitSystem, 1);
    EXPECT_EQ(Session.Conditions, (TConditions{3, 2, 4, 2, 1}));
    EXPECT_EQ(Session.UnitSystem, 1);
    EXPECT_EQ(
        StatusPanels(),
        (QStringList{"取样长度:0.03inch", "评定长度:5", "量程:±3200uin", "滤波器:GAUSS", "标准:DIN", "单位:英制"}));
    EXPECT_EQ(ResultBlocks(), 2);
    const QString lastBlock = Form1.Memo1->toPlainText().section(QStringLiteral("数据："), -1);
    EXPECT_FALSE(Form1.Memo1->toPlainText().contains(QStringLiteral("JIS数据：")));
    EXPECT_TRUE(lastBlock.contains(QStringLiteral("μin")));
    EXPECT_FALSE(lastBlock.contains(QStringLiteral("μm")));
    EXPECT_EQ(Form1.RoungnessChart1->yAxis->label(), QStringLiteral("μin"));
    EXPECT_EQ(Form1.RoungnessChart1->xAxis->label(), QStringLiteral("mil"));
    EXPECT_FALSE(Form5.isVisible());
    EXPECT_EQ(Form5.result(), QDialog::Accepted);
    EXPECT_EQ(Form5.rdcufoff->Items(), ImperialCutoffs);
}

TEST_F(SettingsDialog, ARefusedChangeKeepsTheDialogAndTheSessionAndSaysWhy)
{
    const struct {
        const char *name;
        bool connected;
        QByteArray answer;
        int errorCode;
        QString reason;
    } cases[] = {
        {"not connected", false, {}, -1, "未连接到PX510，请先启动连接。"},
        {"no reply", true, {}, -1, "PX510没有回复，请检查连接线和仪器电源。"},
        {"error reply", true, ReplyFrame::Error(128), 128, "PX510 出错：错误类型(CRC校验错误或包不全回复信息!)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.connected)
            Connect();
        ShowMeasurement();
        Dialogs.Informations.clear();
        const TTesterSettings tester = Session.Tester;
        const TConditions before = Session.Conditions;
        const QStringList panels = StatusPanels();
        const QString memo = Form1.Memo1->toPlainText();
        Form5.show();
        Form5.rdrange->ClickItem(1);
        Form5.rdfilter->ClickItem(3);
        if (c.connected)
            Fake->QueueReply(Port, c.answer);
        Form5.Button1->click();
        EXPECT_EQ(Dialogs.Informations, QStringList{QStringLiteral("配置失败！\n") + c.reason});
        EXPECT_TRUE(Form5.isVisible());
        EXPECT_EQ(Form5.rdrange->ItemIndex(), 1); // the operator's choice stays
        EXPECT_EQ(Form5.rdfilter->ItemIndex(), 3);
        EXPECT_EQ(Session.Tester, tester);
        EXPECT_EQ(Session.Conditions, before);
        EXPECT_EQ(Session.UnitSystem, 0);
        EXPECT_EQ(Session.ErrorCode, c.errorCode);
        EXPECT_EQ(StatusPanels(), panels);
        EXPECT_EQ(Form1.Memo1->toPlainText(), memo);
        Form5.hide();
        Session.ErrorCode = -1;
        Session.LinkState = LinkIdle;
    }
}

TEST_F(SettingsDialog, NothingToChangeSucceedsEvenWithoutALink)
{
    Form5.show();
    Form5.Button1->click();
    EXPECT_EQ(Dialogs.Informations, QStringList{QStringLiteral("配置成功！")});
    EXPECT_FALSE(Form5.isVisible());
    EXPECT_EQ(Form1.StatusPanelText(6), QStringLiteral("单位:公制"));
}

TEST_F(SettingsDialog, CancelLeavesEverythingUntouched)
{
    Connect();
    ShowMeasurement();
    const QStringList panels = StatusPanels();
    const TConditions before = Session.Conditions;
    Form5.show();
    const std::vector<int> stored = Selections();
    Form5.rdunit->ClickItem(1);
    Form5.rdaccess->ClickItem(0);
    Form5.rdstandard->ClickItem(3);
    Form5.Button2->click();
    EXPECT_FALSE(Form5.isVisible());
    EXPECT_EQ(Form5.result(), QDialog::Rejected);
    EXPECT_TRUE(SubCommands().isEmpty());
    EXPECT_EQ(Session.Conditions, before);
    EXPECT_EQ(Session.UnitSystem, 0);
    EXPECT_EQ(StatusPanels(), panels);
    EXPECT_TRUE(Dialogs.Informations.isEmpty());
    Form5.show();
    EXPECT_EQ(Selections(), stored);
    EXPECT_EQ(Form5.rdrange->Items(), MetricRanges);
}

} // namespace
