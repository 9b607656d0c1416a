#include "link/Frame.h"

namespace Frame {

uint16_t CrcOfByte(uint16_t value, uint16_t polynomial, uint16_t start)
{
    uint16_t v = start;
    uint16_t d = static_cast<uint16_t>(value << 8);
    for (int bit = 0; bit < 8; ++bit) {
        if ((d ^ v) & 0x8000)
            v = static_cast<uint16_t>((v << 1) ^ polynomial);
        else
            v = static_cast<uint16_t>(v << 1);
        d = static_cast<uint16_t>(d << 1);
    }
    return v;
}

uint16_t UpdateCrc(uint16_t crc, uint8_t byte)
{
    return static_cast<uint16_t>((crc << 8) ^ CrcOfByte(static_cast<uint16_t>((crc >> 8) ^ byte), 0x1021, 0));
}

uint16_t Crc(const char *data, qsizetype length)
{
    uint16_t crc = 0;
    for (qsizetype i = 0; i < length; ++i)
        crc = UpdateCrc(crc, static_cast<uint8_t>(data[i]));
    return crc;
}

QByteArray Build(char subCommand, const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 7);
    frame.append(STX);
    frame.append(CommandClass);
    frame.append(subCommand);
    frame.append(static_cast<char>(payload.size()));
    frame.append(payload);
    uint16_t crc = Crc(frame.constData() + 1, frame.size() - 1);
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    frame.append(ETX);
    return frame;
}

bool IsComplete(const char *data, qsizetype length)
{
    if (length < 7 || data[length - 1] != ETX)
        return false;
    uint16_t crc = Crc(data + 1, length - 4);
    return static_cast<uint8_t>(data[length - 3]) == (crc & 0xFF)
        && static_cast<uint8_t>(data[length - 2]) == (crc >> 8);
}

} // namespace Frame
