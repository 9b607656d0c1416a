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

// True when `data` is laid out as one whole reply: start byte, command
// class, as many bytes as the reply announces (N + 7; an error reply is 7)
// and the end byte last. The checksum is not looked at: whether a tester's
// replies carry the request checksum is learned per link.
bool IsWhole(const char *data, int length);
// True when bytes n-3, n-2 hold the checksum a request of these bytes would.
bool ChecksumMatches(const char *data, int length);
// The packet number a profile packet reply carries (bytes 4-5, low first).
int PacketNumberOf(const char *data, int length);
// True when a whole frame with sub-command `code` lies anywhere in the bytes.
bool HoldsFrame(const char *data, int length, char code);

} // namespace ReplyFrame
