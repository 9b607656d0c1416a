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
    // A new port and link for the next case of a table.
    void Reconnect()
    {
        Fake = std::make_shared<ScriptedComm>();
        Session.UseComm(Fake);
        ConnectOn();
        Attempts = 0;
        PercentBefore.clear();
        Messages.clear();
    }
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
                return ReplyFrame::Build(
                    'p', ResultsPayload({"1.1", "1.4", "8", "7", "9", "9", "11", "5", "6", "0.02", "0.08", "-0.2"}));
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

TEST_F(Download, UnusableRepliesAreAskedForAgainAndForgottenWhenThePacketComes)
{
    const struct {
        const char *name;
        std::function<QByteArray(const QByteArray &)> spoil;
    } cases[] = {
        {"nothing", [](const QByteArray &) { return QByteArray(); }},
        {"short", [](const QByteArray &r) { return r.left(9); }},
        {"short but whole", [](const QByteArray &r) { return ReplyFrame::Packet(4, r.mid(6, 50)); }},
        {"other letter", [](const QByteArray &) { return ReplyFrame::Build('a'); }},
        {"error reply", [](const QByteArray &) { return ReplyFrame::Error(128); }},
        {"bad checksum",
         [](QByteArray r) {
             r[50] = char(r[50] ^ 0x10);
             return r;
         }},
        {"another packet", [](const QByteArray &r) { return ReplyFrame::Packet(3, r.mid(6, 200)); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Reconnect();
        Tester(0, RawProfile(1000));
        // packet 4 spoiled twice, then sent whole
        int spoiled = 0;
        Answer = [&](int, int k, const QByteArray &reply) {
            if (k == 4 && spoiled < 2) {
                ++spoiled;
                return c.spoil(reply);
            }
            return reply;
        };
        ASSERT_TRUE(Session.FetchMeasurement());
        EXPECT_EQ(Attempts, 12);
        EXPECT_EQ(Received(), Raw);
        EXPECT_EQ(Session.LinkState, LinkDownloadComplete);
        EXPECT_EQ(Session.ErrorCode, -1) << "a fault the retry mended is no fault";
        EXPECT_TRUE(Messages.empty());
        Answer = nullptr;
    }
}

// A reply that comes after its read gave up waits on the port; it must never
// be taken for the reply to the next request.
TEST_F(Download, ALateReplyNeverAnswersTheNextRequest)
{
    ConnectOn();
    Tester(0, RawProfile(1000));
    // Packet 3's first reply comes after its read gave up; packet 6's read
    // finds packet 5's reply (a late one) ahead of its own.
    std::map<int, int> asked;
    Answer = [&](int, int k, const QByteArray &reply) {
        if (k == 3 && asked[k]++ == 0) {
            Fake->ArriveAfterRead(1, reply);
            return QByteArray();
        }
        if (k == 6 && asked[k]++ == 0)
            return ReplyFrame::Packet(5, Raw.mid(800, 200)) + reply;
        return reply;
    };
    ASSERT_TRUE(Session.FetchMeasurement());
    EXPECT_EQ(Received(), Raw);
    EXPECT_EQ(Attempts, 12);
    // The retry after a read that gave up first waits for the line to go quiet.
    EXPECT_EQ(Fake->LogOf("flush 1 100").size(), 2u);

    // The same for commands: an acknowledgement that came too late for its
    // own request does not acknowledge the next one.
    Fake->Responder = nullptr;
    Fake->QueueLateReply(1, ReplyFrame::Build('a'));
    Fake->QueueReply(1, ReplyFrame::Error(4));
    EXPECT_FALSE(Session.SendConditions(TConditions{}));
    EXPECT_FALSE(Session.StartMeasurement());
    EXPECT_EQ(Session.ErrorCode, 4);
    EXPECT_EQ(Session.LinkState, LinkError);
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

TEST_F(Download, APacketDamagedEveryTimeIsNeverStored)
{
    ConnectOn();
    Tester(0, RawProfile(1000));
    Answer = [](int, int k, QByteArray reply) {
        if (k == 3)
            reply[reply.size() - 2] = char(reply[reply.size() - 2] ^ 0xFF); // checksum only
        return reply;
    };
    EXPECT_FALSE(Session.FetchMeasurement());
    EXPECT_EQ(Attempts, 2 + 3);
    EXPECT_FALSE(Session.HasData);
    EXPECT_EQ(Session.RawByteCount, 400);
    EXPECT_EQ(Session.LinkState, LinkIdle);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], IncompleteTransferMessage());
}

TEST_F(Download, ConditionsAndResultsAreAskedForAgainWhenTheirReplyIsUnusable)
{
    ConnectOn();
    Tester(0, RawProfile(1000));
    QByteArray damagedConditions = ReplyFrame::Build('t', ConditionsPayload(2, 0, 0, 3, 2, 0));
    damagedConditions[5] = 3; // sampling lengths, checksum no longer matches
    Fake->QueueReply(1, damagedConditions);
    Fake->QueueReply(1, {}); // time-out
    Fake->QueueFrame(1, 't', ConditionsPayload(2, 0, 0, 3, 2, 0));
    Fake->QueueReply(1, {});
    Fake->QueueFrame(1, 'l', bytes({3, 2}));
    Fake->QueueReply(1, ReplyFrame::Build('a')); // another request's reply
    ASSERT_TRUE(Session.FetchMeasurement());
    EXPECT_EQ(Session.Conditions.SampleLengths, 0);
    EXPECT_EQ(Received(), Raw);
    EXPECT_EQ(Writes().size(), 3u + 2u + 2u + 10u);
}

TEST_F(Download, AFetchThatFailsBeforeThePacketsEndsLikeAFailedDownload)
{
    const struct {
        const char *name;
        std::function<void(ScriptedComm &)> script;
        int errorCode;
        uint8_t state;
    } cases[] = {
        {"results refused",
         [](ScriptedComm &f) {
             f.QueueFrame(1, 't', ConditionsPayload(2, 0, 0, 3, 2, 0));
             f.QueueFrame(1, 'l', bytes({3, 2}));
             f.QueueReply(1, ReplyFrame::Error(1));
         },
         1, LinkError},
        {"no conditions",
         [](ScriptedComm &f) {
             for (int i = 0; i < 3; ++i)
                 f.QueueReply(1, {});
         },
         -1, LinkIdle},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Reconnect();
        Tester(0, RawProfile(1000));
        c.script(*Fake);
        Session.SetLinkState(LinkMeasurementFinished); // as the finished frame does
        EXPECT_EQ(Attempts, 0);
        EXPECT_FALSE(Session.HasData);
        EXPECT_EQ(Session.ErrorCode, c.errorCode);
        EXPECT_EQ(Session.LinkState, c.state) << "never left waiting in state 3";
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_EQ(Messages[0], IncompleteTransferMessage());
    }
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

// Whether replies carry the request checksum is learned from the handshake;
// a tester whose replies carry 00 00 there downloads without a single retry,
// while on a tester that follows the rule a damaged checksum means damage.
TEST_F(Download, TheReplyChecksumHabitIsLearnedFromTheHandshake)
{
    auto zeroed = [](QByteArray reply) {
        reply[reply.size() - 3] = 0;
        reply[reply.size() - 2] = 0;
        return reply;
    };
    QByteArray damagedAck = ReplyFrame::Build('a');
    damagedAck[4] = char(damagedAck[4] ^ 0x40);
    const struct {
        const char *name;
        std::vector<QByteArray> handshake;
        bool zeroChecksums;
        TComToPX510::ChecksumHabit habit;
        int packetWrites;
    } cases[] = {
        {"request rule", {ReplyFrame::Build('a')}, false, TComToPX510::ChecksumHabit::RequestRule, 10 + 1},
        {"00 00 checksums",
         {zeroed(ReplyFrame::Build('a')), zeroed(ReplyFrame::Build('a'))},
         true,
         TComToPX510::ChecksumHabit::Other,
         10},
        {"first reply damaged",
         {damagedAck, ReplyFrame::Build('a')},
         false,
         TComToPX510::ChecksumHabit::RequestRule,
         10 + 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Fake = std::make_shared<ScriptedComm>();
        Session.UseComm(Fake);
        Fake->Present.insert(1);
        for (const QByteArray &reply : c.handshake)
            Fake->QueueReply(1, reply);
        ASSERT_TRUE(Session.Connect());
        EXPECT_EQ(Writes().size(), c.handshake.size());
        EXPECT_EQ(Session.ReplyChecksum(), c.habit);

        Fake->Log.clear();
        Attempts = 0;
        Tester(0, RawProfile(1000));
        bool damagedOnce = false;
        Answer = [&](int, int k, QByteArray reply) {
            if (c.zeroChecksums)
                return zeroed(reply);
            if (k == 5 && !damagedOnce) {
                damagedOnce = true;
                reply[reply.size() - 3] = char(reply[reply.size() - 3] ^ 0x01);
            }
            return reply;
        };
        if (c.zeroChecksums) {
            auto base = Fake->Responder;
            Fake->Responder = [base, zeroed](int port, const QByteArray &request) {
                return zeroed(base(port, request));
            };
        }
        ASSERT_TRUE(Session.FetchMeasurement());
        EXPECT_EQ(Attempts, c.packetWrites);
        EXPECT_EQ(Received(), Raw);
    }

    // Two different replies that both miss the rule are damage, not a habit.
    Fake = std::make_shared<ScriptedComm>();
    Session.UseComm(Fake);
    Fake->Present.insert(1);
    QByteArray otherDamage = ReplyFrame::Build('a');
    otherDamage[5] = char(otherDamage[5] ^ 0x11);
    for (const QByteArray &reply : {damagedAck, otherDamage, damagedAck})
        Fake->QueueReply(1, reply);
    EXPECT_FALSE(Session.Connect());
    EXPECT_FALSE(Fake->IsOpen(1));
}
