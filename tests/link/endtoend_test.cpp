// The session against px510sim on a real pseudo-terminal: the serial layer
// over QSerialPort, the commands and the whole download.

#include "SimProcess.h"
#include "SimTester.h"
#include "link/ComToPX510Unit.h"
#include "link/QtSerialComm.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

QByteArray Received(const TComToPX510 &s)
{
    return QByteArray(reinterpret_cast<const char *>(s.RawData.data()), s.RawByteCount);
}

class EndToEnd : public ::testing::Test {
protected:
    void Start(const QStringList &options)
    {
        Sim = std::make_unique<SimProcess>(options);
        ASSERT_TRUE(Sim->Ready()) << Sim->Output.constData();
        Session.UseComm(std::make_shared<QtSerialComm>(QStringList{Sim->Link}));
        Session.OnMeasurementReady = [this] { ++Shown; };
        Session.OnLinkLost = [this] { ++Lost; };
        // On a lossy line the operator simply tries again.
        ASSERT_TRUE(Session.Connect() || Session.Connect() || Session.Connect());
        ASSERT_TRUE(Session.ReadConditions() || Session.ReadConditions() || Session.ReadConditions());
    }
    // One measurement with `lengths`, announced by the tester's finished frame.
    void MeasureWith(uint8_t lengths)
    {
        ASSERT_TRUE(Session.ApplyConditions(TConditions{0, 2, lengths, 2, 0}));
        Session.ResetMeasurement();
        const int shownBefore = Shown;
        ASSERT_TRUE(Session.StartMeasurement());
        EXPECT_EQ(Session.LinkState, LinkMeasuring);
        ASSERT_TRUE(RunUntil([&] { return Shown > shownBefore; }, 10000));
    }
    void TearDown() override
    {
        if (Sim)
            Sim->Stop();
    }
    std::unique_ptr<SimProcess> Sim;
    TComToPX510 Session;
    int Shown = 0;
    int Lost = 0;
};

} // namespace

TEST_F(EndToEnd, AMeasurementForEverySamplingLengthCode)
{
    const uint32_t seed = 11;
    Start({"--seed", QString::number(seed), "--measure-seconds", "0"});
    EXPECT_EQ(Session.LinkState, LinkIdle);
    for (uint8_t lengths = 0; lengths <= 4; ++lengths) {
        SCOPED_TRACE(int(lengths));
        MeasureWith(lengths);
        ASSERT_TRUE(Session.HasData);
        const int packets = (lengths + 2) * 5;
        EXPECT_EQ(Session.RawByteCount, packets * 200);
        EXPECT_EQ(Session.DownloadPercent, 100);
        EXPECT_EQ(Session.LinkState, LinkDownloadComplete);
        EXPECT_FALSE(Session.Busy);
        const SimMeasurement sent = Measure(seed, lengths + 1, SimConditions{2, lengths, 0, 0, 2});
        EXPECT_EQ(Received(Session), sent.Raw);
        EXPECT_EQ(Session.ActualRange, sent.ActualRange);
        EXPECT_NEAR(Session.InstrumentParams.Ra.ParamValue, sent.Results.Ra, 1e-4);
        EXPECT_NEAR(Session.InstrumentParams.Sm.ParamValue, sent.Results.Sm, 1e-4);
        EXPECT_EQ(Session.SampleCount, packets * 100);
    }
    EXPECT_EQ(Lost, 0);
}

TEST_F(EndToEnd, RepliesInPiecesAndTheStylusPosition)
{
    Start({"--split", "--measure-seconds", "0"});
    MeasureWith(0);
    ASSERT_TRUE(Session.HasData);
    EXPECT_EQ(Received(Session), Measure(1, 1, SimConditions{2, 0, 0, 0, 2}).Raw);
    EXPECT_TRUE(Session.EnterStylusMode());
    EXPECT_EQ(Session.LinkState, LinkStylusMode);
    const std::optional<double> position = Session.ReadStylusPosition();
    ASSERT_TRUE(position.has_value());
    EXPECT_LE(std::abs(*position), 40);
    EXPECT_TRUE(Session.ExitStylusMode());
    // Back and forth between the unit systems, acknowledged by the tester.
    const double ra = Session.InstrumentParams.Ra.ParamValue;
    Session.SetUnitSystem(1);
    EXPECT_EQ(Session.UnitSystem, 1);
    EXPECT_NEAR(Session.InstrumentParams.Ra.ParamValue, ra * 40, 1e-9);
    Session.SetUnitSystem(0);
    EXPECT_EQ(Session.UnitSystem, 0);
    EXPECT_TRUE(Session.Disconnect());
    EXPECT_EQ(Session.LinkState, LinkDisconnected);
    EXPECT_TRUE(Session.Connect()); // the port can be found again
}

TEST_F(EndToEnd, LostRepliesAreMadeUpByAskingAgain)
{
    Start({"--drop-rate", "0.05", "--seed", "4"});
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Session.ResetMeasurement();
        ASSERT_TRUE(Session.DownloadProfile(Session.RawData, Session.RawByteCount));
        EXPECT_EQ(Received(Session), Measure(4, 0, SimConditions{}).Raw);
        EXPECT_EQ(Session.LinkState, LinkDownloadComplete);
    }
}

TEST_F(EndToEnd, ATesterThatVanishesEndsTheLinkCleanly)
{
    Start({"--vanish-after", "10"}); // handshake, "t", "l", then the fetch's "t", "l", "p" and four packets
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Session.FetchMeasurement());
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(Session.LinkState, LinkDisconnected);
    EXPECT_TRUE(Session.LinkLost);
    EXPECT_FALSE(Session.HasData);
    EXPECT_FALSE(Session.Busy);
    EXPECT_EQ(Lost, 1);
    EXPECT_FALSE(Session.StartMeasurement()); // nothing hangs afterwards
    EXPECT_FALSE(Session.Connect());
    EXPECT_TRUE(Sim->Stop().contains("vanishing after 10 replies"));
}

TEST_F(EndToEnd, TheSimulatorCountsItsBytesOnExit)
{
    Start({});
    const QByteArray output = Sim->Stop();
    // handshake 7 + "t" 7 + "l" 7 in; replies 7 + 13 + 9 out
    EXPECT_TRUE(output.contains("received 21 bytes (0.024 s on the line), sent 29 bytes (0.033 s on the line)"))
        << output.constData();
    EXPECT_EQ(Sim->Process.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(Sim->Link)); // the link is removed
}

TEST(MeasureCommand, MeasuresSavesOrSaysWhyNot)
{
    enum PortKind { Tester, TesterByName, Missing, PlainFile };
    const struct {
        QStringList simOptions;
        PortKind port;
        QStringList toolOptions;
        int exitCode;
        const char *says;
    } cases[] = {
        {{"--measure-seconds", "0"}, Tester, {}, 0, "saved"},
        {{"--seed", "2"}, Tester, {"--fetch-only"}, 0, "downloaded 30 packets"},
        {{"--seed", "2"}, TesterByName, {"--fetch-only"}, 0, "downloaded 30 packets"}, // "tester" is ./tester
        {{"--error", "s:3"}, Tester, {}, 1, "PX510 出错：错误类型(电机走死!)"},
        {{"--error", "v:1"}, Tester, {"--fetch-only"}, 1, "PX510 出错：错误类型(无测量数据!)"},
        {{"--corrupt-packet", "7:3"}, Tester, {"--fetch-only"}, 1, "数据传输不完整"},
        {{}, Missing, {}, 1, "no such device"},
        {{}, PlainFile, {}, 1, "not a serial device"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.simOptions.join(' ').toStdString() + " port kind " + std::to_string(c.port));
        std::unique_ptr<SimProcess> sim;
        QTemporaryDir folder;
        QString port = folder.filePath(QStringLiteral("nothing"));
        QProcess tool;
        if (c.port == Tester || c.port == TesterByName) {
            sim = std::make_unique<SimProcess>(c.simOptions);
            ASSERT_TRUE(sim->Ready());
            port = sim->Link;
            if (c.port == TesterByName) {
                tool.setWorkingDirectory(QFileInfo(port).path());
                port = QFileInfo(port).fileName();
            }
        } else if (c.port == PlainFile) {
            QFile file(port);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        const QString out = folder.filePath(QStringLiteral("m.PX510"));
        tool.start(QStringLiteral(PX510_PROGRAM_DIR "/px510tool"),
                   QStringList{"measure", "--port", port, "--out", out} + c.toolOptions);
        ASSERT_TRUE(tool.waitForFinished(20000));
        const QString said = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
        EXPECT_EQ(tool.exitCode(), c.exitCode) << said.toStdString();
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.says))) << said.toStdString();
        EXPECT_EQ(QFileInfo::exists(out), c.exitCode == 0);
        if (c.exitCode == 0) {
            TComToPX510 saved;
            saved.LoadMeasurementFile(out);
            EXPECT_EQ(Received(saved),
                      Measure(c.toolOptions.isEmpty() ? 1 : 2, c.toolOptions.isEmpty() ? 1 : 0, {}).Raw);
        }
    }
}
