#pragma once
// The contents of the tester's replies, read off the bytes of one reply as
// it was read. Whether those bytes are a whole, undamaged frame is asked
// before (ReplyFrame::IsWhole, the checksum habit of the link); these look at
// the reply code (byte 2) and the fields only. Each gives nothing for a reply
// with another code. Fields lie at fixed offsets of the zero-filled reply
// buffer: an offset the reply does not reach reads as 0.

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace Replies {

// "a": the request was carried out.
struct Acknowledgement {};
std::optional<Acknowledgement> AcknowledgementOf(QByteArrayView reply);

// "e": the tester's error code.
struct TesterError {
    uint8_t Code = 0;
};
std::optional<TesterError> TesterErrorOf(QByteArrayView reply);

// "t": the conditions the tester is set to and its unit system; a code
// outside its field's range is none.
struct Conditions {
    std::optional<uint8_t> Cutoff;        // 0 .. 3
    std::optional<uint8_t> SampleLengths; // 0 .. 4
    std::optional<uint8_t> Standard;      // 0 .. 3
    std::optional<uint8_t> Range;         // 0 .. 3
    std::optional<uint8_t> FilterCode;    // 0 .. 3
    std::optional<uint8_t> UnitSystem;    // 0 .. 1
};
std::optional<Conditions> ConditionsOf(QByteArrayView reply);

// "l": the range and cutoff the last measurement used, each 1 .. 3 or none.
struct ActualSettings {
    std::optional<uint8_t> Range;
    std::optional<uint8_t> Cutoff;
};
std::optional<ActualSettings> ActualSettingsOf(QByteArrayView reply);

// "p": the twelve results (Ra, Rq, Rz, R3z, Ryi, Ryd, Rt, Rp, Rv, S, Sm, Sk),
// read from the reply as text up to its first zero byte: twelve fields of 13
// characters from byte 4, the value in the last eight. Reading stops at the
// first value that is not a number.
struct Results {
    static constexpr int FieldCount = 12;
    std::array<double, FieldCount> Values{};
    int Count = 0;      // values read, from the first
    QString Unreadable; // the value text that stopped the reading, trimmed
    bool Complete() const { return Count == FieldCount; }
};
std::optional<Results> ResultsOf(QByteArrayView reply);

// "v": a profile packet, only as a reply of 209 bytes: its number and its
// 200 data bytes (a view into `reply`).
struct ProfilePacket {
    int Number = 0;
    QByteArrayView Data;
};
std::optional<ProfilePacket> ProfilePacketOf(QByteArrayView reply);

// "k": the stylus position, in counts (2048 for the range limit).
struct StylusPosition {
    int16_t Counts = 0;
};
std::optional<StylusPosition> StylusPositionOf(QByteArrayView reply);

} // namespace Replies
