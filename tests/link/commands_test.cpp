#include "LinkFixture.h"

#include "common/Errors.h"
#include "link/LinkMessages.h"

#include <QTimer>
#include <functional>

using Log = std::vector<std::string>;

// --- ConfigurePort -----------------------------------------------------------

TEST_F(LinkFixture, ConfigurePortPassesTheLineSettingsAndTimeOuts)
{
    Fake->Present = {2};
    Fake->sio_open(2);
    Fake->Log.clear();
    Session.PortNo = 2;
    EXPECT_TRUE(Session.ConfigurePort());
    EXPECT_EQ(Fake->Log,
              (Log{"ioctl 2 12 7", "flowctrl 2 0", "DTR 2 1", "RTS 2 1", "getbaud 2", "wtimeout 2 3",
                   "rtimeout 2 798 100", "cnt_irq 2 1"}));
}

TEST_F(LinkFixture, ConfigurePortWithHardwareFlowSkipsRts)
{
    Fake->Present = {1};
    Fake->sio_open(1);
    Fake->Log.clear();
    Session.HardwareFlow = true;
    EXPECT_TRUE(Session.ConfigurePort());
    EXPECT_EQ(Fake->LogOf("flowctrl"), Log{"flowctrl 1 3"});
    EXPECT_TRUE(Fake->LogOf("RTS").empty());
}

TEST_F(LinkFixture, ConfigurePortStopsAtTheFirstRefusedStep)
{
    const struct {
        const char *step;
        const char *lastCall;
    } cases[] = {{"ioctl", "ioctl 1 12 7"},
                 {"flowctrl", "flowctrl 1 0"},
                 {"DTR", "DTR 1 1"},
                 {"RTS", "RTS 1 1"},
                 {"cnt_irq", "cnt_irq 1 1"}};
    for (auto c : cases) {
        SCOPED_TRACE(c.step);
        auto fake = std::make_shared<ScriptedComm>();
        TComToPX510 session;
        session.UseComm(fake);
        fake->Present = {1};
        fake->sio_open(1);
        fake->Results[c.step] = -1;
        EXPECT_FALSE(session.ConfigurePort());
        EXPECT_EQ(fake->Log.back(), c.lastCall);
    }
}

TEST_F(LinkFixture, ConfigurePortRefusesAPortWithoutARate)
{
    Fake->Present = {1};
    Fake->sio_open(1);
    Fake->Baud = 0;
    EXPECT_FALSE(Session.ConfigurePort());
    EXPECT_TRUE(Fake->LogOf("wtimeout").empty());
}

// --- Connect -----------------------------------------------------------------

TEST_F(LinkFixture, ConnectFindsTheTesterOnTheThirdPort)
{
    Fake->Present = {1, 2, 3, 4};
    Fake->QueueReply(1, {});  // silence
    Fake->QueueFrame(2, 'x'); // something else answers
    Fake->QueueFrame(3, 'a');
    EXPECT_TRUE(Session.Connect());
    EXPECT_EQ(Session.PortNo, 3);
    EXPECT_EQ(Session.LinkState, LinkIdle);
    EXPECT_FALSE(Session.Busy);
    EXPECT_EQ(Fake->LogOf("open"), (Log{"open 1", "open 2", "open 3"}));
    EXPECT_EQ(Fake->LogOf("close"), (Log{"close 1", "close 2"}));
    EXPECT_EQ(Fake->Written(3), std::vector<QByteArray>{fromHex("02 55 77 00 F0 24 03")});
    EXPECT_TRUE(Fake->IsOpen(3));
}

TEST_F(LinkFixture, ConnectWithoutTesterClosesEveryPortItOpened)
{
    Fake->Present = {1, 2, 5};
    EXPECT_FALSE(Session.Connect());
    EXPECT_EQ(Fake->LogOf("open").size(), 8u);
    EXPECT_EQ(Fake->LogOf("close"), (Log{"close 1", "close 2", "close 5"})); // never one it could not open
    EXPECT_EQ(Session.LinkState, LinkDisconnected);
    EXPECT_FALSE(Session.Busy);
}

TEST_F(LinkFixture, ConnectStopsAtAnErrorReplyWithThePortOpen)
{
    Fake->Present = {1, 2};
    Fake->QueueReply(1, ReplyFrame::Error(2));
    EXPECT_FALSE(Session.Connect());
    EXPECT_EQ(Session.ErrorCode, 2);
    EXPECT_EQ(Session.LinkState, LinkError);
    EXPECT_EQ(Session.PortNo, 1);
    EXPECT_TRUE(Fake->IsOpen(1));
    EXPECT_EQ(Fake->LogOf("open"), Log{"open 1"});
}

TEST_F(LinkFixture, RepeatedHandshakeUsesTheOpenPortOnly)
{
    ConnectOn(2);
    Fake->QueueFrame(2, 'a');
    EXPECT_TRUE(Session.Connect());
    Fake->QueueReply(2, {}); // the tester went quiet: no search, the port stays
    EXPECT_FALSE(Session.Connect());
    EXPECT_TRUE(Fake->LogOf("open").empty());
    EXPECT_TRUE(Fake->LogOf("close").empty());
    EXPECT_EQ(Writes(), (Log{"write 2 02 55 77 00 F0 24 03", "write 2 02 55 77 00 F0 24 03"}));
    EXPECT_EQ(Session.LinkState, LinkIdle);
}

// --- the common exchange -----------------------------------------------------

TEST_F(LinkFixture, AcknowledgedCommandsSetTheirState)
{
    const struct {
        const char *name;
        bool (TComToPX510::*command)();
        const char *frame;
        uint8_t state;
    } cases[] = {
        {"start", &TComToPX510::StartMeasurement, "02 55 73 00 34 E8 03", LinkMeasuring},
        {"enter stylus", &TComToPX510::EnterStylusMode, "02 55 6B 01 00 D5 91 03", LinkStylusMode},
        {"exit stylus", &TComToPX510::ExitStylusMode, "02 55 6B 01 02 97 B1 03", LinkIdle},
        {"disconnect", &TComToPX510::Disconnect, "02 55 6F 00 2A AE 03", LinkDisconnected},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        Fake = std::make_shared<ScriptedComm>();
        Session.UseComm(Fake);
        ConnectOn(1);
        Session.LinkState = LinkMeasurementFinished;
        Fake->QueueFrame(1, 'z'); // neither acknowledgement nor error
        EXPECT_FALSE((Session.*c.command)());
        EXPECT_EQ(Session.LinkState, LinkMeasurementFinished);
        EXPECT_EQ(Session.ErrorCode, -1);
        Fake->QueueFrame(1, 'a');
        EXPECT_TRUE((Session.*c.command)());
        EXPECT_EQ(Session.LinkState, c.state);
        EXPECT_FALSE(Session.Busy);
        EXPECT_EQ(Fake->Written(1).back(), fromHex(c.frame));
    }
    EXPECT_FALSE(Fake->IsOpen(1)); // the acknowledged disconnect closed it
}

TEST_F(LinkFixture, ErrorReplyToStartIsRecorded)
{
    ConnectOn();
    Fake->QueueReply(1, ReplyFrame::Error(4));
    EXPECT_FALSE(Session.StartMeasurement());
    EXPECT_EQ(Session.ErrorCode, 4);
    EXPECT_EQ(Session.LinkState, LinkError);
    EXPECT_FALSE(Session.Busy);
}

TEST_F(LinkFixture, FailedDisconnectKeepsThePortOpen)
{
    ConnectOn();
    Fake->QueueWriteFailure(1);
    EXPECT_FALSE(Session.Disconnect());
    EXPECT_TRUE(Fake->IsOpen(1));
    EXPECT_EQ(Session.LinkState, LinkIdle);
}

TEST_F(LinkFixture, QueryConditionsTakesOnlyBytesWithinTheirRange)
{
    ConnectOn();
    Fake->QueueFrame(1, 't', ConditionsPayload(3, 1, 2, 7, 0, 1));
    EXPECT_TRUE(Session.QueryConditions());
    EXPECT_EQ(Session.Tester.Conditions, (TConditions{2, 3, 1, 0, 2})); // range kept
    EXPECT_EQ(Session.Tester.UnitSystem, 1);
    // No measurement held: its codes and unit texts follow the tester.
    EXPECT_EQ(Session.Conditions, Session.Tester.Conditions);
    EXPECT_EQ(Session.UnitSystem, 1);
    EXPECT_EQ(Session.InstrumentParams.Ra.ParamUnit, QStringLiteral("μin"));

    Fake->QueueFrame(1, 't', ConditionsPayload(4, 5, 4, 1, 4, 2));
    EXPECT_TRUE(Session.QueryConditions());
    EXPECT_EQ(Session.Tester.Conditions, (TConditions{1, 3, 1, 0, 2}));
    EXPECT_EQ(Session.Tester.UnitSystem, 1);
}

// A metric measurement on an imperial tester and an imperial one on a metric
// tester: reading or setting the tester leaves the measurement's codes,
// values and unit texts as they were; only a switch of the unit system
// converts it.
TEST_F(LinkFixture, AMeasurementHeldKeepsItsOwnCodesWhateverTheTesterIsSetTo)
{
    const struct {
        const char *name;
        uint8_t measured, tester;
        const char *height;
    } cases[] = {{"metric measurement, imperial tester", 0, 1, "μm"},
                 {"imperial measurement, metric tester", 1, 0, "μin"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TComToPX510 session;
        auto fake = std::make_shared<ScriptedComm>();
        session.UseComm(fake);
        fake->Present = {1};
        fake->QueueFrame(1, 'a');
        ASSERT_TRUE(session.Connect());
        fake->Log.clear();
        const TConditions measured{3, 2, 4, 2, 1};
        session.Conditions = measured;
        session.UnitSystem = c.measured;
        session.ActualRange = 3;
        session.ActualCutoff = 2;
        session.InstrumentParams.Ra.ParamValue = 1.262;
        session.SetParameterUnitTexts();
        session.HasData = true;

        fake->QueueFrame(1, 't', ConditionsPayload(1, 0, 3, 1, 0, c.tester));
        fake->QueueFrame(1, 'l', bytes({1, 1}));
        EXPECT_TRUE(session.ReadConditions());
        fake->QueueFrame(1, 'a');
        EXPECT_FALSE(session.PushSettings()); // the connect sequence
        fake->QueueFrame(1, 'a');
        EXPECT_TRUE(session.ApplyConditions(TConditions{0, 3, 1, 3, 2}));
        session.SetUnitSystem(c.tester); // the tester's own system: nothing sent

        EXPECT_EQ(session.Tester, (TTesterSettings{TConditions{0, 3, 1, 3, 2}, c.tester, 1, 1}));
        EXPECT_EQ(session.Conditions, measured);
        EXPECT_EQ(session.UnitSystem, c.measured);
        EXPECT_EQ(session.ActualRange, 3);
        EXPECT_EQ(session.ActualCutoff, 2);
        EXPECT_DOUBLE_EQ(session.RangeLimit(), c.measured == 0 ? 0.08 : 3.2);
        EXPECT_DOUBLE_EQ(session.InstrumentParams.Ra.ParamValue, 1.262);
        EXPECT_EQ(session.IsoParams.Ra.ParamUnit, QString::fromUtf8(c.height));
        EXPECT_EQ(fake->LogOf("write").size(), 4u); // t, l, c, c: no "u"

        // The operator switches the tester to the measurement's system: the
        // measurement is in it already and stays as it is.
        fake->QueueFrame(1, 'a');
        session.SetUnitSystem(c.measured);
        EXPECT_EQ(session.Tester.UnitSystem, c.measured);
        EXPECT_EQ(session.UnitSystem, c.measured);
        EXPECT_DOUBLE_EQ(session.InstrumentParams.Ra.ParamValue, 1.262);
        // And back: now the measurement is converted with it.
        fake->QueueFrame(1, 'a');
        session.SetUnitSystem(c.tester);
        EXPECT_EQ(session.UnitSystem, c.tester);
        EXPECT_DOUBLE_EQ(session.InstrumentParams.Ra.ParamValue, c.tester == 1 ? 1.262 * 40 : 1.262 * 0.025);
        EXPECT_EQ(session.IsoParams.Ra.ParamUnit, c.tester == 1 ? QStringLiteral("μin") : QStringLiteral("μm"));
    }
}

TEST_F(LinkFixture, ReadConditionsAlsoReadsTheRangeAndCutoffUsed)
{
    ConnectOn();
    Fake->QueueFrame(1, 't', ConditionsPayload(0, 4, 0, 0, 2, 0));
    Fake->QueueFrame(1, 'l', bytes({3, 1}));
    EXPECT_TRUE(Session.ReadConditions());
    EXPECT_EQ(Session.ActualRange, 3);
    EXPECT_EQ(Session.ActualCutoff, 1);

    Fake->QueueFrame(1, 't', ConditionsPayload(0, 4, 0, 0, 2, 0));
    Fake->QueueFrame(1, 'l', bytes({0, 4}));
    EXPECT_TRUE(Session.ReadConditions());
    EXPECT_EQ(Session.ActualRange, 3);
    EXPECT_EQ(Session.ActualCutoff, 1);

    Fake->QueueReply(1, ReplyFrame::Error(1));
    EXPECT_FALSE(Session.ReadConditions());
    EXPECT_EQ(Writes().back(), "write 1 02 55 74 00 A3 71 03"); // "l" not asked after a failed "t"
}

TEST_F(LinkFixture, SendConditionsUsesItsOwnPayloadOrder)
{
    ConnectOn();
    const TConditions wanted{3, 1, 2, 0, 1}; // range, cutoff, lengths, filter, standard
    Fake->QueueReply(1, {});
    EXPECT_FALSE(Session.ApplyConditions(wanted));
    EXPECT_EQ(Session.Conditions, TConditions{});
    Fake->QueueFrame(1, 'a');
    EXPECT_TRUE(Session.ApplyConditions(wanted));
    EXPECT_EQ(Session.Conditions, wanted);
    // cutoff, sampling lengths, standard, range, filter
    const QByteArray sent = Fake->Written(1).back();
    EXPECT_EQ(sent.mid(2, 7), bytes({'c', 5, 1, 2, 1, 3, 0}));
}

// --- units -------------------------------------------------------------------

TEST_F(LinkFixture, SetUnitSystemConvertsValuesProfileAndTexts)
{
    ConnectOn();
    TPX510parameters &p = Session.InstrumentParams;
    p.Ra.ParamValue = 1.5;
    p.Rz.ParamValue = 10;
    p.S.ParamValue = 0.1;
    p.Sk.ParamValue = -0.3;
    Session.SampleCount = 1000;
    Session.Profile[0] = 2;
    Session.Profile[999] = -1;
    Session.Profile[1000] = 7; // beyond the samples: untouched

    Fake->QueueFrame(1, 'a');
    Session.SetUnitSystem(1);
    EXPECT_EQ(Writes(), Log{"write 1 02 55 75 01 01 96 D9 03"});
    EXPECT_EQ(Session.UnitSystem, 1);
    EXPECT_DOUBLE_EQ(p.Ra.ParamValue, 60);
    EXPECT_DOUBLE_EQ(p.Rz.ParamValue, 400);
    EXPECT_DOUBLE_EQ(p.S.ParamValue, 4);
    EXPECT_DOUBLE_EQ(p.Sk.ParamValue, -0.3);
    EXPECT_DOUBLE_EQ(Session.Profile[0], 80);
    EXPECT_DOUBLE_EQ(Session.Profile[999], -40);
    EXPECT_DOUBLE_EQ(Session.Profile[1000], 7);
    EXPECT_EQ(p.Ra.ParamUnit, QStringLiteral("μin"));
    EXPECT_EQ(p.Sm.ParamUnit, QStringLiteral("mil"));
    EXPECT_EQ(Session.IsoParams.Ra.ParamValue, 60); // distributed
    EXPECT_EQ(Session.RoughnessCount, 500);         // filtered again

    Fake->QueueFrame(1, 'a');
    Session.SetUnitSystem(0);
    EXPECT_EQ(Session.UnitSystem, 0);
    EXPECT_NEAR(p.Ra.ParamValue, 1.5, 1e-12);
    EXPECT_NEAR(p.Rz.ParamValue, 10, 1e-12);
    EXPECT_NEAR(p.S.ParamValue, 0.1, 1e-12);
    EXPECT_EQ(p.Rq.ParamUnit, QStringLiteral("μm"));
    EXPECT_EQ(p.S.ParamUnit, QStringLiteral("mm"));
    EXPECT_TRUE(p.Sk.ParamUnit.isEmpty());
}

TEST_F(LinkFixture, SetUnitSystemToTheSystemInForceOnlyRefreshesTexts)
{
    ConnectOn();
    Session.InstrumentParams.Ra.ParamUnit = QStringLiteral("?");
    Session.InstrumentParams.S.ParamUnit = QStringLiteral("?");
    Session.SetUnitSystem(0);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Session.InstrumentParams.Ra.ParamUnit, QStringLiteral("μm"));
    EXPECT_EQ(Session.InstrumentParams.S.ParamUnit, QStringLiteral("mm"));
    EXPECT_EQ(Session.IsoParams.S.ParamUnit, QStringLiteral("mm"));

    Fake->QueueReply(1, ReplyFrame::Error(0)); // refused: nothing converted
    Session.InstrumentParams.Ra.ParamValue = 2;
    Session.SetUnitSystem(1);
    EXPECT_EQ(Session.UnitSystem, 0);
    EXPECT_EQ(Session.InstrumentParams.Ra.ParamValue, 2);
}

TEST_F(LinkFixture, PushSettingsSendsTheSessionsOwnConditions)
{
    ConnectOn();
    Session.Tester.Conditions = {1, 3, 0, 0, 2};
    Session.Conditions = {2, 2, 4, 2, 0}; // a measurement's: not the tester's
    Fake->QueueFrame(1, 'a');
    EXPECT_FALSE(Session.PushSettings());
    EXPECT_EQ(Writes().size(), 1u); // the unit system is already in force
    EXPECT_EQ(Fake->Written(1).back().mid(2, 7), bytes({'c', 5, 3, 0, 2, 1, 0}));
}

// --- results and stylus ------------------------------------------------------

TEST_F(LinkFixture, ReadResultsParsesTheLastEightCharactersOfEachField)
{
    ConnectOn();
    Fake->QueueFrame(
        1, 'p',
        ResultsPayload({"1.234", "  1.5", "10", "-0.25", "1e1", "7.000", "8", "9", "10.5", "0.0125", "0.1", "-0.333"}));
    EXPECT_TRUE(Session.ReadResults());
    TPX510parameters &p = Session.InstrumentParams;
    EXPECT_DOUBLE_EQ(p.Ra.ParamValue, 1.234);
    EXPECT_DOUBLE_EQ(p.Rq.ParamValue, 1.5);
    EXPECT_DOUBLE_EQ(p.R3z.ParamValue, -0.25);
    EXPECT_DOUBLE_EQ(p.Ryi.ParamValue, 10);
    EXPECT_DOUBLE_EQ(p.Rv.ParamValue, 10.5);
    EXPECT_DOUBLE_EQ(p.S.ParamValue, 0.0125);
    EXPECT_DOUBLE_EQ(p.Sk.ParamValue, -0.333);
    EXPECT_DOUBLE_EQ(Session.IsoParams.Rz.ParamValue, 10); // distributed: ISO Rz is Ryi
}

TEST_F(LinkFixture, ReadResultsStopsAtAFieldThatIsNotANumber)
{
    ConnectOn();
    Session.InstrumentParams.Ryi.ParamValue = 99;
    Session.InstrumentParams.Sk.ParamValue = 98;
    Fake->QueueFrame(1, 'p', ResultsPayload({"1", "2", "3", "4", "--.-", "6", "7", "8", "9", "10", "11", "12"}));
    EXPECT_THROW(Session.ReadResults(), ConversionError);
    EXPECT_DOUBLE_EQ(Session.InstrumentParams.R3z.ParamValue, 4); // stored before it
    EXPECT_DOUBLE_EQ(Session.InstrumentParams.Ryi.ParamValue, 99);
    EXPECT_DOUBLE_EQ(Session.InstrumentParams.Sk.ParamValue, 98);
    EXPECT_FALSE(Session.Busy);

    Fake->QueueFrame(1, 'p', ResultsPayload({"1", "2"})); // text ends early
    EXPECT_THROW(Session.ReadResults(), ConversionError);
}

TEST_F(LinkFixture, StylusPositionScalesWithTheRangeOrHasNoValue)
{
    ConnectOn();
    Session.Tester.Conditions.Range = 3;
    Session.Conditions.Range = 1; // the measurement's range does not count
    Session.UnitSystem = 1;
    Fake->QueueFrame(1, 'k', bytes({0x00, 0xF8}));
    EXPECT_EQ(Session.ReadStylusPosition(), std::optional<double>(-80));
    EXPECT_EQ(Fake->Written(1).back(), fromHex("02 55 6B 01 01 F4 81 03"));
    Session.Tester.Conditions.Range = 2;
    Fake->QueueFrame(1, 'k', bytes({0x00, 0x04}));
    EXPECT_EQ(Session.ReadStylusPosition(), std::optional<double>(20));
    Fake->QueueReply(1, {});
    EXPECT_FALSE(Session.ReadStylusPosition().has_value());
    Fake->QueueFrame(1, 'a');
    EXPECT_FALSE(Session.ReadStylusPosition().has_value());
}

// --- input the tester sends unprompted, and commands that overlap ------------

TEST_F(LinkFixture, ReceiveNotifyFetchesAfterTheFinishedFrame)
{
    ConnectOn();
    int shown = 0;
    Session.OnMeasurementReady = [&] { ++shown; };
    Fake->QueueReply(1, ReplyFrame::Error(1)); // the fetch is refused at once
    Fake->Arrive(1, ReplyFrame::Build('s'));
    EXPECT_EQ(shown, 1); // shown whatever the fetch returned
    EXPECT_EQ(Writes(), Log{"write 1 02 55 74 00 A3 71 03"});
    EXPECT_EQ(Session.ErrorCode, 1);
    EXPECT_FALSE(Session.HasData);

    Fake->Arrive(1, ReplyFrame::Error(3));
    EXPECT_EQ(Session.ErrorCode, 3);
    EXPECT_EQ(Session.LinkState, LinkError);
    Fake->Arrive(1, ReplyFrame::Build('q')); // anything else is discarded
    EXPECT_EQ(shown, 1);
}

TEST_F(LinkFixture, FinishedFrameAheadOfAReplyIsHandledAfterTheCommand)
{
    ConnectOn();
    int shown = 0;
    Session.OnMeasurementReady = [&] { ++shown; };
    Fake->QueueReply(1, ReplyFrame::Build('s') + ReplyFrame::Build('t', ConditionsPayload(1, 1, 1, 1, 1, 0)));
    // The fetch afterwards finds the tester quiet: asked three times for its conditions.
    EXPECT_TRUE(Session.QueryConditions());
    EXPECT_EQ(Session.Conditions.Range, 1);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Writes().size(), 1u + 3u);
}

TEST_F(LinkFixture, CommandsAskedForDuringAnExchangeDoNotInterleave)
{
    ConnectOn();
    bool startResult = true, disconnectResult = true, connectResult = true;
    // Timer ticks that fall into the wait of the next command.
    QTimer::singleShot(0, [&] {
        connectResult = Session.Connect();
        startResult = Session.StartMeasurement();
        disconnectResult = Session.Disconnect();
        Session.Disconnect(); // asked twice, sent once
    });
    Fake->QueueFrame(1, 'l', bytes({2, 2}));
    Fake->QueueFrame(1, 'a');
    EXPECT_TRUE(Session.ReadActualSettings());
    EXPECT_FALSE(connectResult);
    EXPECT_FALSE(startResult);
    EXPECT_FALSE(disconnectResult);
    // The disconnect followed the running exchange; nothing else was sent.
    EXPECT_EQ(Writes(), (Log{"write 1 02 55 6C 00 79 FB 03", "write 1 02 55 6F 00 2A AE 03"}));
    EXPECT_EQ(Session.LinkState, LinkDisconnected);
}

TEST_F(LinkFixture, InputWhileBusyIsLeftForTheCommand)
{
    ConnectOn();
    Session.Busy = true;
    Fake->Arrive(1, ReplyFrame::Error(3));
    EXPECT_EQ(Session.ErrorCode, -1);
    EXPECT_TRUE(Fake->LogOf("read").empty());
}

TEST_F(LinkFixture, AVanishedPortFailsTheCommandAndReportsTheLostLink)
{
    ConnectOn();
    int lost = 0;
    Session.OnLinkLost = [&] { ++lost; };
    Fake->QueueVanish(1);
    EXPECT_FALSE(Session.StartMeasurement());
    EXPECT_EQ(Session.LinkState, LinkDisconnected);
    EXPECT_TRUE(Session.LinkLost);
    EXPECT_FALSE(Session.Busy);
    EXPECT_EQ(lost, 1);

    // A new connect searches the ports again.
    Fake->QueueFrame(1, 'a');
    EXPECT_TRUE(Session.Connect());
    EXPECT_FALSE(Session.LinkLost);

    Fake->Vanish(1); // gone while idle
    EXPECT_EQ(lost, 2);
    EXPECT_EQ(Session.LinkState, LinkDisconnected);
}

TEST(LinkMessages, ErrorCodesHaveTheirMessages)
{
    const struct {
        int code;
        const char *text;
    } cases[] = {{0, "超出量程!"},       {1, "无测量数据!"},   {2, "硬件电路故障!"},
                 {3, "电机走死!"},       {4, "传感器返回中!"}, {128, "CRC校验错误或包不全回复信息!"},
                 {129, "包号超出范围!"}, {5, "未知错误!"},     {200, "未知错误!"},
                 {-1, "未知错误!"}};
    for (auto c : cases)
        EXPECT_EQ(ErrorMessage(c.code), QStringLiteral("PX510 出错：错误类型(") + QString::fromUtf8(c.text) + ")")
            << c.code;
}

TEST(LinkMessages, EachStatusHasItsText)
{
    const QString noReply = QStringLiteral("PX510没有回复，请检查连接线和仪器电源。");
    const struct {
        LinkStatus status;
        QString text;
    } cases[] = {{LinkStatus::None, {}},
                 {LinkStatus::NoPort, QStringLiteral("未连接到PX510，请先启动连接。")},
                 {LinkStatus::TesterError, ErrorMessage(3)},
                 {LinkStatus::PortLost, LinkLostMessage()},
                 {LinkStatus::DataFormat, IncompleteTransferMessage()},
                 {LinkStatus::NoAccess, noReply},
                 {LinkStatus::Io, noReply},
                 {LinkStatus::TimeOut, noReply},
                 {LinkStatus::Protocol, noReply}};
    for (const auto &c : cases)
        EXPECT_EQ(FailureText(c.status, 3), c.text) << int(c.status);
}

// --- how the last exchange ended ----------------------------------------------

TEST_F(LinkFixture, LastFailureSaysHowTheExchangeEnded)
{
    QByteArray damaged = ReplyFrame::Build('a');
    damaged[4] = char(damaged[4] ^ 1);
    const struct {
        const char *what;
        std::function<void(ScriptedComm &)> tester;
        LinkStatus expected;
    } cases[] = {
        {"acknowledged", [](ScriptedComm &f) { f.QueueFrame(1, 'a'); }, LinkStatus::None},
        {"error reply", [](ScriptedComm &f) { f.QueueReply(1, ReplyFrame::Error(4)); }, LinkStatus::TesterError},
        {"silent", [](ScriptedComm &f) { f.QueueReply(1, {}); }, LinkStatus::TimeOut},
        {"a piece", [](ScriptedComm &f) { f.QueueReply(1, ReplyFrame::Build('a').left(4)); }, LinkStatus::TimeOut},
        {"damaged", [&](ScriptedComm &f) { f.QueueReply(1, damaged); }, LinkStatus::Protocol},
        {"another request's", [](ScriptedComm &f) { f.QueueFrame(1, 't'); }, LinkStatus::Protocol},
        {"write refused", [](ScriptedComm &f) { f.QueueWriteFailure(1); }, LinkStatus::Io},
        {"port gone", [](ScriptedComm &f) { f.QueueVanish(1); }, LinkStatus::PortLost},
    };
    ConnectOn();
    for (const auto &c : cases) {
        Session.ErrorCode = -1;
        Session.LinkState = LinkIdle;
        c.tester(*Fake);
        EXPECT_EQ(Session.StartMeasurement(), c.expected == LinkStatus::None) << c.what;
        EXPECT_EQ(Session.LastFailure, c.expected) << c.what;
    }
    // Once lost, a command fails at once as on a lost link; never connected, as on none.
    EXPECT_FALSE(Session.ReadActualSettings());
    EXPECT_EQ(Session.LastFailure, LinkStatus::PortLost);
    TComToPX510 never;
    never.UseComm(std::make_shared<ScriptedComm>());
    EXPECT_FALSE(never.StartMeasurement());
    EXPECT_EQ(never.LastFailure, LinkStatus::NoPort);
}

TEST_F(LinkFixture, OnlyATimeOutOrAProtocolFaultIsAskedForAgain)
{
    ConnectOn();
    Fake->QueueReply(1, {});
    Fake->QueueFrame(1, 'a'); // another request's
    Fake->QueueFrame(1, 'l', bytes({2, 2}));
    EXPECT_TRUE(Session.ReadActualSettings());
    EXPECT_EQ(Writes().size(), 3u);

    Fake->Log.clear();
    Fake->QueueReply(1, ReplyFrame::Error(2));
    EXPECT_FALSE(Session.ReadActualSettings());
    EXPECT_EQ(Session.LastFailure, LinkStatus::TesterError);
    EXPECT_EQ(Writes().size(), 1u);
}

TEST_F(LinkFixture, ConnectTellsWhyNoTesterWasFound)
{
    EXPECT_FALSE(Session.Connect()); // no port at all
    EXPECT_EQ(Session.LastFailure, LinkStatus::NoPort);
    Fake->Present.insert(2);
    EXPECT_FALSE(Session.Connect()); // a port, but nothing answers on it
    EXPECT_EQ(Session.LastFailure, LinkStatus::TimeOut);
    Fake->QueueReply(2, ReplyFrame::Error(1));
    EXPECT_FALSE(Session.Connect());
    EXPECT_EQ(Session.LastFailure, LinkStatus::TesterError);
}

TEST_F(LinkFixture, AResultThatIsNotANumberIsADataFormatFault)
{
    ConnectOn();
    Fake->QueueFrame(1, 'p', ResultsPayload({"1", "x"}));
    EXPECT_THROW(Session.ReadResults(), ConversionError);
    EXPECT_EQ(Session.LastFailure, LinkStatus::DataFormat);
}
