#pragma once
// Frames as the tester sends them: laid out like requests (STX "U" code N
// payload CRC-lo CRC-hi ETX), except the error reply, whose byte 3 is the
// error code. A profile packet reply is 209 bytes: packet number and 200 data
// bytes.

#include <QByteArray>
#include <cstdint>

namespace ReplyFrame {

constexpr int PacketDataBytes = 200;
constexpr int PacketReplyBytes = 209;
constexpr int PacketDataOffset = 6;

QByteArray Build(char code, const QByteArray &payload = {});
QByteArray Error(uint8_t code);
// A profile packet reply: packet number (low first), then the data bytes.
QByteArray Packet(int packetNo, const QByteArray &data);

// True when `data` holds a whole reply: a complete frame, or for a profile
// packet its full 209 bytes (a packet is long, so it is taken whole by length).
bool IsWhole(const char *data, int length);

} // namespace ReplyFrame
