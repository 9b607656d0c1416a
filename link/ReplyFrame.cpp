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

bool IsWhole(const char *data, int length)
{
    if (length >= 3 && data[2] == 'v')
        return length >= PacketReplyBytes;
    return Frame::IsComplete(data, length);
}

} // namespace ReplyFrame
