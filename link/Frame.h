#pragma once
// Request frames to the tester: STX "U" sub-command N payload CRC-lo CRC-hi ETX.
// The CRC is CRC-16/XMODEM over "U", the sub-command, N and the payload.

#include <QByteArray>
#include <cstdint>

namespace Frame {

constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char CommandClass = 'U';

// The value of shifting one byte through the generator (one CRC table entry).
uint16_t CrcOfByte(uint16_t value, uint16_t polynomial, uint16_t start);
uint16_t UpdateCrc(uint16_t crc, uint8_t byte);
uint16_t Crc(const char *data, qsizetype length);

// A complete request frame, N + 7 bytes.
QByteArray Build(char subCommand, const QByteArray &payload = {});

// True when the bytes form a whole frame: ETX last and the CRC over bytes
// 1 .. n-4 equal to bytes n-3, n-2 (low first). Used to end a read early.
bool IsComplete(const char *data, qsizetype length);

} // namespace Frame
