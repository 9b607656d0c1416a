// The reply parsers on bytes, without a session.

#include "LinkFixture.h"
#include "link/Replies.h"

#include <functional>

namespace {

using Replies::Conditions;
using Codes = std::optional<uint8_t>;

// Whether each parser takes a reply: only one with its own code, whatever follows.
TEST(Replies, EachParserTakesOnlyItsOwnCode)
{
    const std::map<char, std::function<bool(QByteArrayView)>> parsers = {
        {'a', [](QByteArrayView r) { return Replies::AcknowledgementOf(r).has_value(); }},
        {'e', [](QByteArrayView r) { return Replies::TesterErrorOf(r).has_value(); }},
        {'t', [](QByteArrayView r) { return Replies::ConditionsOf(r).has_value(); }},
        {'l', [](QByteArrayView r) { return Replies::ActualSettingsOf(r).has_value(); }},
        {'p', [](QByteArrayView r) { return Replies::ResultsOf(r).has_value(); }},
        {'v', [](QByteArrayView r) { return Replies::ProfilePacketOf(r).has_value(); }},
        {'k', [](QByteArrayView r) { return Replies::StylusPositionOf(r).has_value(); }},
    };
    const QByteArray packetData(ReplyFrame::PacketDataBytes, '\x01');
    for (const auto &[code, parser] : parsers) {
        for (const char other : QByteArray("aetlpvksU\x02")) {
            const QByteArray reply = other == 'v' ? ReplyFrame::Packet(1, packetData) : ReplyFrame::Build(other);
            EXPECT_EQ(parser(reply), other == code) << code << " given " << other;
        }
        EXPECT_FALSE(parser(QByteArray())) << code;
        EXPECT_FALSE(parser(QByteArray("\x02U"))) << code; // cut before the code
    }
}

TEST(Replies, ErrorReplyCarriesItsCodeInByteThree)
{
    EXPECT_EQ(Replies::TesterErrorOf(ReplyFrame::Error(129))->Code, 129);
    EXPECT_EQ(Replies::TesterErrorOf(ReplyFrame::Error(0))->Code, 0);
    EXPECT_EQ(Replies::TesterErrorOf(QByteArray("\x02Ue"))->Code, 0); // a piece: byte 3 not there
}

TEST(Replies, ConditionsTakeOnlyCodesWithinTheirRange)
{
    const struct {
        QByteArray reply;
        Conditions expected;
    } cases[] = {
        {ReplyFrame::Build('t', ConditionsPayload(3, 4, 3, 3, 3, 1)), {3, 4, 3, 3, 3, 1}},
        {ReplyFrame::Build('t', ConditionsPayload(0, 0, 0, 0, 0, 0)), {0, 0, 0, 0, 0, 0}},
        {ReplyFrame::Build('t', ConditionsPayload(4, 5, 4, 7, 4, 2)), {}},
        {ReplyFrame::Build('t', ConditionsPayload(1, 2, 255, 0, 2, 1)), {1, 2, {}, 0, 2, 1}},
        // Shorter than its layout: the offsets past the end read as 0.
        {QByteArray("\x02Ut\x06\x02\x03", 6), {2, 3, 0, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        const std::optional<Conditions> read = Replies::ConditionsOf(c.reply);
        ASSERT_TRUE(read) << c.reply.toHex(' ').constData();
        const Conditions &e = c.expected;
        EXPECT_EQ((std::array<Codes, 6>{read->Cutoff, read->SampleLengths, read->Standard, read->Range,
                                        read->FilterCode, read->UnitSystem}),
                  (std::array<Codes, 6>{e.Cutoff, e.SampleLengths, e.Standard, e.Range, e.FilterCode, e.UnitSystem}))
            << c.reply.toHex(' ').constData();
    }
}

TEST(Replies, ActualSettingsAreOneToThree)
{
    const struct {
        int range, cutoff;
        Codes expectedRange, expectedCutoff;
    } cases[] = {{1, 3, 1, 3}, {3, 1, 3, 1}, {0, 2, {}, 2}, {2, 4, 2, {}}, {255, 0, {}, {}}};
    for (const auto &c : cases) {
        const auto read = Replies::ActualSettingsOf(ReplyFrame::Build('l', bytes({c.range, c.cutoff})));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->Range, c.expectedRange) << c.range;
        EXPECT_EQ(read->Cutoff, c.expectedCutoff) << c.cutoff;
    }
}

TEST(Replies, ResultsStopAtTheFirstValueThatIsNotANumber)
{
    const QStringList twelve = {"1.234", "  1.5", "10",   "-0.25",  "1e1", "7.000",
                                "8",     "9",     "10.5", "0.0125", "0.1", "-0.333"};
    const auto all = Replies::ResultsOf(ReplyFrame::Build('p', ResultsPayload(twelve)));
    ASSERT_TRUE(all);
    EXPECT_TRUE(all->Complete());
    EXPECT_EQ(all->Values[0], 1.234);
    EXPECT_EQ(all->Values[1], 1.5);
    EXPECT_EQ(all->Values[4], 10);
    EXPECT_EQ(all->Values[11], -0.333);
    EXPECT_TRUE(all->Unreadable.isEmpty());

    const struct {
        QByteArray reply;
        int count;
        const char *unreadable;
    } broken[] = {
        {ReplyFrame::Build('p', ResultsPayload({"1", "2", "3", "4", " --.-", "6", "7", "8", "9", "10", "11", "12"})), 4,
         "--.-"},
        {ReplyFrame::Build('p', ResultsPayload({"1", "2"})), 2, ""}, // the text ends early
        {ReplyFrame::Build('p', ResultsPayload({"1", ""}) + ResultsPayload(QStringList(10, "1"))), 1, ""}, // blank
        {ReplyFrame::Build('p'), 0, ""},
    };
    for (const auto &c : broken) {
        const auto read = Replies::ResultsOf(c.reply);
        ASSERT_TRUE(read);
        EXPECT_FALSE(read->Complete());
        EXPECT_EQ(read->Count, c.count) << c.unreadable;
        EXPECT_EQ(read->Unreadable, QString::fromLatin1(c.unreadable));
    }

    // A zero byte ends the text, even inside the frame.
    QByteArray cut = ReplyFrame::Build('p', ResultsPayload(twelve));
    cut[4 + 13 * 6 + 7] = '\0';
    EXPECT_EQ(Replies::ResultsOf(cut)->Count, 6);
}

TEST(Replies, AProfilePacketIsExactly209Bytes)
{
    QByteArray data(ReplyFrame::PacketDataBytes, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i);
    const QByteArray reply = ReplyFrame::Packet(0x1234, data);
    const auto packet = Replies::ProfilePacketOf(reply);
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->Number, 0x1234);
    EXPECT_EQ(packet->Data.toByteArray(), data);

    EXPECT_FALSE(Replies::ProfilePacketOf(ReplyFrame::Packet(1, data.left(199))));
    EXPECT_FALSE(Replies::ProfilePacketOf(ReplyFrame::Packet(1, data + 'x')));
    EXPECT_FALSE(Replies::ProfilePacketOf(QByteArrayView(reply).first(ReplyFrame::PacketReplyBytes - 1)));
}

TEST(Replies, StylusPositionIsSignedLowByteFirst)
{
    const struct {
        QByteArray payload;
        int counts;
    } cases[] = {{bytes({0x00, 0xF8}), -2048},
                 {bytes({0x00, 0x04}), 1024},
                 {bytes({0xFF, 0x7F}), 32767},
                 {bytes({0x00, 0x80}), -32768},
                 {bytes({0xFF, 0xFF}), -1}};
    for (const auto &c : cases)
        EXPECT_EQ(Replies::StylusPositionOf(ReplyFrame::Build('k', c.payload))->Counts, c.counts)
            << c.payload.toHex(' ').constData();
    EXPECT_EQ(Replies::StylusPositionOf(QByteArray("\x02Uk\x01\x05"))->Counts, 5); // the high byte not there
}

} // namespace
