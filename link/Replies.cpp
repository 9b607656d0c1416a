#include "link/Replies.h"

#include "common/NumberText.h"
#include "link/ReplyFrame.h"

namespace Replies {

namespace {

bool HasCode(QByteArrayView reply, char code)
{
    return reply.size() > 2 && reply[2] == code;
}

uint8_t ByteAt(QByteArrayView reply, qsizetype offset)
{
    return offset < reply.size() ? static_cast<uint8_t>(reply[offset]) : 0;
}

std::optional<uint8_t> CodeAt(QByteArrayView reply, qsizetype offset, uint8_t lowest, uint8_t highest)
{
    const uint8_t code = ByteAt(reply, offset);
    if (code < lowest || code > highest)
        return std::nullopt;
    return code;
}

} // namespace

std::optional<Acknowledgement> AcknowledgementOf(QByteArrayView reply)
{
    if (!HasCode(reply, 'a'))
        return std::nullopt;
    return Acknowledgement{};
}

std::optional<TesterError> TesterErrorOf(QByteArrayView reply)
{
    if (!HasCode(reply, 'e'))
        return std::nullopt;
    return TesterError{ByteAt(reply, 3)};
}

std::optional<Conditions> ConditionsOf(QByteArrayView reply)
{
    if (!HasCode(reply, 't'))
        return std::nullopt;
    return Conditions{CodeAt(reply, 4, 0, 3), CodeAt(reply, 5, 0, 4), CodeAt(reply, 6, 0, 3),
                      CodeAt(reply, 7, 0, 3), CodeAt(reply, 8, 0, 3), CodeAt(reply, 9, 0, 1)};
}

std::optional<ActualSettings> ActualSettingsOf(QByteArrayView reply)
{
    if (!HasCode(reply, 'l'))
        return std::nullopt;
    return ActualSettings{CodeAt(reply, 4, 1, 3), CodeAt(reply, 5, 1, 3)};
}

std::optional<Results> ResultsOf(QByteArrayView reply)
{
    if (!HasCode(reply, 'p'))
        return std::nullopt;
    constexpr int FieldWidth = 13;
    constexpr int FirstField = 4;
    constexpr int ValueOffset = 5;
    constexpr int ValueWidth = 8;
    const qsizetype textLength = qstrnlen(reply.data(), size_t(reply.size()));
    const QString text = QString::fromLatin1(reply.data(), textLength);
    Results results;
    for (; results.Count < Results::FieldCount; ++results.Count) {
        const QString value = text.mid(FirstField + results.Count * FieldWidth + ValueOffset, ValueWidth);
        const std::optional<double> number = NumberText::parseDouble(value);
        if (!number) {
            results.Unreadable = value.trimmed();
            break;
        }
        results.Values[size_t(results.Count)] = *number;
    }
    return results;
}

std::optional<ProfilePacket> ProfilePacketOf(QByteArrayView reply)
{
    if (!HasCode(reply, 'v') || reply.size() != ReplyFrame::PacketReplyBytes)
        return std::nullopt;
    return ProfilePacket{ReplyFrame::PacketNumberOf(reply.data(), int(reply.size())),
                         reply.sliced(ReplyFrame::PacketDataOffset, ReplyFrame::PacketDataBytes)};
}

std::optional<StylusPosition> StylusPositionOf(QByteArrayView reply)
{
    if (!HasCode(reply, 'k'))
        return std::nullopt;
    return StylusPosition{static_cast<int16_t>(ByteAt(reply, 4) | ByteAt(reply, 5) << 8)};
}

} // namespace Replies
