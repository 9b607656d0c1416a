#pragma once
// Reads a fuzzer's input as a stream of choices. Past the end every read
// gives zeros or nothing, so a target driven by it always comes to an end.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstring>

class FuzzInput {
public:
    FuzzInput(const uint8_t *data, size_t size) : Data(data), Size(size) {}

    bool Empty() const { return Position >= Size; }

    uint8_t Byte() { return Empty() ? 0 : Data[Position++]; }

    // A choice among `count` alternatives (count > 0).
    unsigned Pick(unsigned count) { return Byte() % count; }

    uint32_t Word()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= uint32_t(Byte()) << (8 * i);
        return value;
    }

    double Double()
    {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= uint64_t(Byte()) << (8 * i);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // Up to `count` bytes, fewer at the end of the input.
    QByteArray Bytes(size_t count)
    {
        const size_t available = Size - (Empty() ? Size : Position);
        const size_t n = count < available ? count : available;
        QByteArray out(reinterpret_cast<const char *>(Data + Position), qsizetype(n));
        Position += n;
        return out;
    }

    // Whatever is left.
    QByteArray Rest() { return Bytes(Size); }

private:
    const uint8_t *Data;
    size_t Size;
    size_t Position = 0;
};
