#include "link/ReplyFrame.h"

#include "link/Frame.h"

namespace ReplyFrame {

QByteArray Build(char code, const QByteArray &payload)
{
    return Frame::Build(code, payload);
}

QByteArray Error(uint8_t code)
{
    QByteArray frame;
    frame.append(Frame::STX);
    frame.append(Frame::CommandClass);
    frame.append('e');
    frame.append(static_cast<char>(code));
    const uint16_t crc = Frame::Crc(frame.constData() + 1, frame.size() - 1);
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    frame.append(Frame::ETX);
    return frame;
}

QByteArray Packet(int packetNo, const QByteArray &data)
{
    QByteArray payload;
    payload.append(static_cast<char>(packetNo & 0xFF));
    payload.append(static_cast<char>((packetNo >> 8) & 0xFF));
    payload.append(data);
    return Build('v', payload);
}

namespace {
int AnnouncedLength(const char *data, int length)
{
    if (length < 4)
        return 0;
    return data[2] == 'e' ? 7 : static_cast<uint8_t>(data[3]) + 7;
}
} // namespace

bool IsWhole(const char *data, int length)
{
    return length >= 7 && data[0] == Frame::STX && data[1] == Frame::CommandClass
        && AnnouncedLength(data, length) == length && data[length - 1] == Frame::ETX;
}

bool ChecksumMatches(const char *data, int length)
{
    return Frame::IsComplete(data, length);
}

int PacketNumberOf(const char *data, int length)
{
    return length >= 6 ? static_cast<uint8_t>(data[4]) | static_cast<uint8_t>(data[5]) << 8 : -1;
}

bool HoldsFrame(const char *data, int length, char code)
{
    for (int at = 0; at + 7 <= length; ++at) {
        if (data[at + 2] != code)
            continue;
        const int size = AnnouncedLength(data + at, length - at);
        if (size <= length - at && IsWhole(data + at, size))
            return true;
    }
    return false;
}

} // namespace ReplyFrame
