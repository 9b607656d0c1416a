#include "LinkFixture.h"

#include "link/LinkMessages.h"

#include <cmath>

namespace {

// The raw bytes of a measurement of `samples` samples.
QByteArray RawProfile(int samples, int seed = 1)
{
    QByteArray raw;
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<int16_t>(std::lround(900 * std::sin(i * 0.013 * seed) + (i * seed) % 37));
        raw.append(static_cast<char>(v & 0xFF));
        raw.append(static_cast<char>((v >> 8) & 0xFF));
    }
    return raw;
}

int PacketNumberOf(const QByteArray &request)
{
    return uint8_t(request[4]) | uint8_t(request[5]) << 8;
}

} // namespace

class Download : public LinkFixture {
protected:
    // A tester holding `raw`, measured with `lengths`; `answer` may replace
    // the reply to an attempt (numbered from 1 over all "v" requests).
    void Tester(int lengths, const QByteArray &raw)
    {
        Raw = raw;
        Fake->Responder = [this, lengths](int, const QByteArray &request) -> QByteArray {
            switch (request[2]) {
            case 't': return ReplyFrame::Build('t', ConditionsPayload(2, lengths, 0, 3, 2, 0));
            case 'l': return ReplyFrame::Build('l', bytes({3, 2}));
            case 'p':
                return ReplyFrame::Build('p', ResultsPayload({"1.1", "1.4", "8", "7", "9", "9", "11", "5", "6",
                                                              "0.02", "0.08", "-0.2"}));
            case 'v': {
                ++Attempts;
                const int k = PacketNumberOf(request);
                PercentBefore.push_back(Session.DownloadPercent);
                QByteArray reply = ReplyFrame::Packet(k, Raw.mid((k - 1) * 200, 200));
                if (Answer)
                    return Answer(Attempts, k, reply);
                return reply;
            }
            }
            return {};
        };
    }
    QByteArray Raw;
    int Attempts = 0;
    std::vector<int> PercentBefore;
    std::function<QByteArray(int attempt, int packet, const QByteArray &reply)> Answer;
    std::vector<QString> Messages;
    void SetUp() override
    {
        LinkFixture::SetUp();
        Session.OnLinkMessage = [this](const QString &m) { Messages.push_back(m); };
    }
    QByteArray Received() const
    {
        return QByteArray(reinterpret_cast<const char *>(Session.RawData.data()), Session.RawByteCount);
    }
};

TEST_F(Download, EverySamplingLengthCodeFetchesItsPackets)
{
    const struct {
        int lengths, packets;
    } cases[] = {{0, 10}, {1, 15}, {2, 20}, {3, 25}, {4, 30}};
    for (auto c : cases) {
        SCOPED_TRACE(c.lengths);
        Fake = std::make_shared<ScriptedComm>();
        Session.UseComm(Fake);
        ConnectOn();
        Attempts = 0;
        PercentBefore.clear();
        Tester(c.lengths, RawProfile(c.packets * 100, c.lengths + 1));
        ASSERT_TRUE(Session.FetchMeasurement());
        EXPECT_EQ(Attempts, c.packets);
        EXPECT_EQ(Session.RawByteCount, c.packets * 200);
        EXPECT_EQ(Received(), Raw);
        EXPECT_EQ(Session.SampleCount, c.packets * 100);
        EXPECT_EQ(Session.RoughnessCount, c.packets * 100 - 500);
        EXPECT_EQ(Session.DownloadPercent, 100);
        EXPECT_EQ(Session.LinkState, LinkDownloadComplete);
        EXPECT_TRUE(Session.HasData);
        EXPECT_FALSE(Session.Busy);
        EXPECT_GT(Session.MeasureTime, 0);
        // decoded at the range used (code 3: 4096 counts are 80 μm)
        const auto first = static_cast<int16_t>(uint8_t(Raw[0]) | uint8_t(Raw[1]) << 8);
        EXPECT_DOUBLE_EQ(Session.Profile[0], first / 4096.0 * 80);
    }
    EXPECT_EQ(PercentBefore[1], 3); // 30 packets: after packet 1, 100/30 = 3
    EXPECT_TRUE(Messages.empty());
}

TEST_F(Download, ANewMeasurementIsTakenUnderTheTestersSettings)
{
    ConnectOn();
    // An imperial record on screen; the tester is metric.
    Session.Conditions = TConditions{1, 3, 0, 0, 3};
    Session.UnitSystem = 1;
    Session.ActualRange = 1;
    Session.SetParameterUnitTexts();
    Session.HasData = true;
    Tester(4, RawProfile(3000));
    ASSERT_TRUE(Session.FetchMeasurement());
    EXPECT_EQ(Session.Conditions, (TConditions{3, 2, 4, 2, 0}));
    EXPECT_EQ(Session.UnitSystem, 0);
    EXPECT_EQ(Session.ActualRange, 3);
    EXPECT_EQ(Session.InstrumentParams.Ra.ParamUnit, QStringLiteral("μm"));
    EXPECT_EQ(Session.IsoParams.Rz.ParamUnit, QStringLiteral("μm"));
    EXPECT_EQ(Session.IsoParams.Sm.ParamUnit, QStringLiteral("mm"));
    const auto first = static_cast<int16_t>(uint8_t(Raw[0]) | uint8_t(Raw[1]) << 8);
    EXPECT_DOUBLE_EQ(Session.Profile[0], first / 4096.0 * 80);
    QString text;
    Session.ResultsText(6, text);
    EXPECT_TRUE(text.contains(QStringLiteral("μm")));
    EXPECT_FALSE(text.contains(QStringLiteral("μin")));
}

TEST_F(Download, FifteenPacketsShowSixPercentAfterTheFirst)
{
    ConnectOn();
    Tester(1, RawProfile(1500));
    ASSERT_TRUE(Session.FetchMeasurement());
    EXPECT_EQ(PercentBefore[1], 6);
    EXPECT_EQ(Session.RoughnessCount, 1000);
}

TEST_F(Download, UnusableRepliesAreAskedForAgain)
{
    const struct {
        const char *name;
        std::function<QByteArray(const QByteArray &)> spoil;
        int errorCode;
    } cases[] = {
        {"nothing", [](const QByteArray &) { return QByteArray(); }, -1},
        {"short", [](const QByteArray &r) { return r.left(9); }, -1},
        {"short but whole", [](const QByteArray &r) { return ReplyFrame::Packet(4, r.mid(6, 50)); }, -1},
        {"other letter", [](const QByteArray &) { return ReplyFrame::Build('a'); }, -1},
        {"error reply", [](const QByteArray &) { return ReplyFrame::Error(128); }, 128}, // still recorded
        {"bad checksum", [](QByteArray r) { r[50] = char(r[50] ^ 0x10); return r; }, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Fake = std::make_shared<ScriptedComm>();
        Session.UseComm(Fake);
        ConnectOn();
        Attempts = 0;
        Tester(0, RawProfile(1000));
        // packet 4 spoiled twice, then sent whole
        Answer = [&](int, int k, const QByteArray &reply) {
            static int spoiled = 0;
            if (k == 4 && spoiled < 2) {
                ++spoiled;
                return c.spoil(reply);
            }
            if (k == 4)
                spoiled = 0;
            return reply;
        };
        ASSERT_TRUE(Session.FetchMeasurement());
        EXPECT_EQ(Attempts, 12);
        EXPECT_EQ(Received(), Raw);
        EXPECT_EQ(Session.LinkState, LinkDownloadComplete);
        EXPECT_EQ(Session.ErrorCode, c.errorCode);
        Answer = nullptr;
    }
}

TEST_F(Download, APacketThatNeverArrivesFailsTheFetch)
{
    ConnectOn();
    // An earlier measurement's bytes are in RawData.
    Tester(0, RawProfile(1000, 3));
    ASSERT_TRUE(Session.FetchMeasurement());
    Tester(0, RawProfile(1000, 5));
    Attempts = 0;
    Answer = [](int, int k, const QByteArray &reply) { return k == 7 ? reply.left(100) : reply; };
    EXPECT_FALSE(Session.FetchMeasurement());
    EXPECT_EQ(Attempts, 6 + 3); // stops at the missing packet
    EXPECT_FALSE(Session.HasData);
    EXPECT_TRUE(Session.TransferIncomplete);
    EXPECT_EQ(Session.RawByteCount, 1200);
    EXPECT_EQ(Session.LinkState, LinkIdle);
    EXPECT_FALSE(Session.Busy);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], IncompleteTransferMessage());
}

TEST_F(Download, ErrorRepliesThroughoutLeaveTheErrorState)
{
    ConnectOn();
    Tester(0, RawProfile(1000));
    Answer = [](int, int k, const QByteArray &reply) { return k == 2 ? ReplyFrame::Error(129) : reply; };
    EXPECT_FALSE(Session.FetchMeasurement());
    EXPECT_EQ(Session.ErrorCode, 129);
    EXPECT_EQ(Session.LinkState, LinkError);
    EXPECT_FALSE(Session.HasData);
}

TEST_F(Download, APacketDamagedEveryTimeIsTakenAsTheTesterSentIt)
{
    ConnectOn();
    Tester(0, RawProfile(1000));
    Answer = [](int, int k, QByteArray reply) {
        if (k == 3)
            reply[reply.size() - 2] = char(reply[reply.size() - 2] ^ 0xFF); // checksum only
        return reply;
    };
    EXPECT_TRUE(Session.FetchMeasurement());
    EXPECT_EQ(Attempts, 12);
    EXPECT_EQ(Received(), Raw);
}

TEST_F(Download, ResultsOrConditionsRefusedStopBeforeAnyPacket)
{
    ConnectOn();
    Tester(0, RawProfile(1000));
    Fake->QueueFrame(1, 't', ConditionsPayload(2, 0, 0, 3, 2, 0));
    Fake->QueueFrame(1, 'l', bytes({3, 2}));
    Fake->QueueReply(1, ReplyFrame::Error(1));
    EXPECT_FALSE(Session.FetchMeasurement());
    EXPECT_EQ(Attempts, 0);
    EXPECT_EQ(Session.ErrorCode, 1);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(Download, APortThatVanishesEndsTheFetchInStateOne)
{
    ConnectOn();
    int lost = 0;
    Session.OnLinkLost = [&] { ++lost; };
    Tester(4, RawProfile(3000));
    Answer = [this](int attempt, int, const QByteArray &reply) {
        if (attempt == 12)
            Fake->QueueVanish(1);
        return reply;
    };
    EXPECT_FALSE(Session.FetchMeasurement());
    EXPECT_EQ(Session.LinkState, LinkDisconnected);
    EXPECT_FALSE(Session.HasData);
    EXPECT_FALSE(Session.Busy);
    EXPECT_EQ(Writes().size(), 3u + 13u); // "t", "l", "p", packets; the device vanished at packet 13
    EXPECT_EQ(lost, 1);
    EXPECT_TRUE(Messages.empty()); // told as the lost link, not as an incomplete transfer
}
