// The session against px510sim injecting faults, through the real serial
// layer on a pseudo-terminal: a lossy line with replies in pieces, a tester
// that vanishes at points all through a session, and error replies to every
// command. The lossy line is slow (lost replies wait out the read
// time-outs): `make test-faults` runs it, `make test` only the rest.

#include "SimProcess.h"
#include "SimTester.h"
#include "TestSupport.h"

#include "link/ComToPX510Unit.h"
#include "link/QtSerialComm.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {

QByteArray Received(const TComToPX510 &s)
{
    return QByteArray(reinterpret_cast<const char *>(s.RawData.data()), s.RawByteCount);
}

class Faults : public ::testing::Test {
protected:
    // A simulator with `options` and a session on its terminal, not yet connected.
    void Start(const QStringList &options)
    {
        Sim = std::make_unique<SimProcess>(options);
        ASSERT_TRUE(Sim->Ready()) << Sim->Output.constData();
        Comm = std::make_shared<QtSerialComm>(QStringList{Sim->Link});
        Session = std::make_unique<TComToPX510>();
        Session->UseComm(Comm);
        Session->OnMeasurementReady = [this] { ++Shown; };
        Session->OnLinkLost = [this] { ++Messages; };
        Session->OnLinkMessage = [this](const QString &) { ++Messages; };
    }
    bool PortOpen() { return Comm->sio_getbaud(1) > 0; }
    void TearDown() override
    {
        Session.reset();
        if (Sim)
            Sim->Stop();
    }

    std::unique_ptr<SimProcess> Sim;
    std::shared_ptr<QtSerialComm> Comm;
    std::unique_ptr<TComToPX510> Session;
    int Shown = 0;
    int Messages = 0;
};

TEST_F(Faults, DownloadsOverALossyLineAreExactOrClearlyFailed)
{
    const uint32_t seed = 7;
    ASSERT_NO_FATAL_FAILURE(
        Start({"--drop-rate", "0.02", "--corrupt-rate", "0.01", "--split", "--seed", QString::number(seed)}));
    // On a lossy line the operator simply tries again.
    ASSERT_TRUE(Session->Connect() || Session->Connect() || Session->Connect());
    // The measurement the tester holds, fetched as one sampling length: 10 packets.
    const QByteArray sent = Measure(seed, 0, SimConditions{}).Raw.left(2000);
    Session->Conditions.SampleLengths = 0;
    int succeeded = 0;
    for (int download = 0; download < 100; ++download) {
        SCOPED_TRACE(download);
        Session->ResetMeasurement();
        if (Session->DownloadProfile(Session->RawData, Session->RawByteCount)) {
            ++succeeded;
            EXPECT_EQ(Received(*Session), sent) << "a different profile taken as the tester's";
            EXPECT_EQ(Session->LinkState, LinkDownloadComplete);
        } else {
            EXPECT_NE(Session->LinkState, LinkDownloadComplete);
            EXPECT_LT(Session->RawByteCount, 2000);
        }
        EXPECT_FALSE(Session->Busy);
    }
    EXPECT_GE(succeeded, 99);
    std::printf("lossy line: %d of 100 downloads of 10 packets succeeded\n", succeeded);
}

// One command of a session, and the part of the session it belongs to.
struct Step {
    const char *Stage;
    std::function<bool(TComToPX510 &)> Run;
};

// A whole session, step by step, against a tester that closes its terminal
// after a number of replies, at points all through the session.
TEST_F(Faults, ATesterVanishingAnywhereEndsTheLinkInStateOneWithOneMessage)
{
    const std::vector<Step> steps = {
        {"connect", [](TComToPX510 &s) { return s.Connect(); }},
        {"connect", [](TComToPX510 &s) { return s.ReadConditions(); }},
        {"connect",
         [](TComToPX510 &s) {
             return s.SendConditions(TConditions{2, 0, 0, 2, 2});
         }},
        {"measure", [](TComToPX510 &s) { return s.StartMeasurement(); }},
        {"download", [](TComToPX510 &s) { return s.HasData; }}, // the fetch the finished frame starts
        {"stylus", [](TComToPX510 &s) { return s.EnterStylusMode(); }},
        {"stylus", [](TComToPX510 &s) { return s.ReadStylusPosition().has_value(); }},
        {"stylus", [](TComToPX510 &s) { return s.ReadStylusPosition().has_value(); }},
        {"stylus", [](TComToPX510 &s) { return s.ExitStylusMode(); }},
    };
    // Replies: 1 handshake, 2-3 conditions, 4 sent conditions, 5 start; after
    // the finished frame 6-8 conditions and results, 9-18 the packets, 19-22
    // stylus mode. The reply just before the vanishing may be lost with it,
    // so each point stays within its part of the session either way.
    for (int vanishAfter : {1, 2, 4, 5, 6, 8, 11, 16, 19, 21}) {
        SCOPED_TRACE(vanishAfter);
        Shown = Messages = 0;
        ASSERT_NO_FATAL_FAILURE(
            Start({"--vanish-after", QString::number(vanishAfter), "--measure-seconds", "0", "--seed", "3"}));
        const Step *failed = nullptr;
        QElapsedTimer clock;
        qint64 longest = 0;
        for (const Step &step : steps) {
            clock.start();
            if (std::string(step.Stage) == "download")
                RunUntil([this] { return Shown > 0 || !PortOpen(); }, 10000);
            const bool done = step.Run(*Session);
            longest = std::max(longest, clock.elapsed());
            if (!done) {
                failed = &step;
                break;
            }
        }
        ASSERT_NE(failed, nullptr) << "the session outlived the tester";
        EXPECT_LT(longest, 3000) << "a command waited beyond the read time-outs";
        EXPECT_EQ(Session->LinkState, LinkDisconnected);
        EXPECT_FALSE(PortOpen());
        EXPECT_FALSE(Session->Busy);
        if (failed == &steps.front()) {
            EXPECT_EQ(Messages, 0) << "no link was made, so none is lost";
        } else {
            EXPECT_TRUE(Session->LinkLost);
            EXPECT_EQ(Messages, 1) << "the lost link is told once, and only that";
        }
        std::printf("vanishing after %2d replies: %-8s step %d failed\n", vanishAfter, failed->Stage,
                    int(failed - steps.data()));
        clock.start();
        EXPECT_FALSE(Session->StartMeasurement()); // nothing hangs afterwards
        EXPECT_LT(clock.elapsed(), 1000);
        TearDown();
    }
}

TEST_F(Faults, AnErrorReplyToEveryCommandIsRecordedAndFailsIt)
{
    const std::vector<std::pair<char, Step>> commands = {
        {'w', {"handshake", [](TComToPX510 &s) { return s.Connect(); }}},
        {'t', {"conditions", [](TComToPX510 &s) { return s.QueryConditions(); }}},
        {'l', {"range and cutoff used", [](TComToPX510 &s) { return s.ReadActualSettings(); }}},
        {'c', {"send conditions", [](TComToPX510 &s) { return s.SendConditions(TConditions{}); }}},
        {'u',
         {"unit system",
          [](TComToPX510 &s) {
              s.SetUnitSystem(1);
              return s.UnitSystem == 1;
          }}},
        {'s', {"start", [](TComToPX510 &s) { return s.StartMeasurement(); }}},
        {'p', {"results", [](TComToPX510 &s) { return s.ReadResults(); }}},
        {'v', {"download", [](TComToPX510 &s) { return s.DownloadProfile(s.RawData, s.RawByteCount); }}},
        {'k', {"stylus", [](TComToPX510 &s) { return s.EnterStylusMode(); }}},
        {'o', {"disconnect", [](TComToPX510 &s) { return s.Disconnect(); }}},
    };
    int code = 1;
    for (const auto &[letter, command] : commands) {
        SCOPED_TRACE(command.Stage);
        ASSERT_NO_FATAL_FAILURE(Start({"--error", QStringLiteral("%1:%2").arg(QChar::fromLatin1(letter)).arg(code)}));
        if (letter != 'w') {
            ASSERT_TRUE(Session->Connect());
        }
        const double ra = Session->InstrumentParams.Ra.ParamValue;
        EXPECT_FALSE(command.Run(*Session));
        EXPECT_EQ(Session->ErrorCode, code);
        EXPECT_EQ(Session->LinkState, LinkError);
        EXPECT_FALSE(Session->Busy);
        EXPECT_TRUE(PortOpen()) << "an error reply leaves the port open";
        EXPECT_EQ(Session->UnitSystem, 0);
        EXPECT_EQ(Session->InstrumentParams.Ra.ParamValue, ra);
        EXPECT_EQ(Messages, 0);
        TearDown();
        ++code;
    }
}

} // namespace
