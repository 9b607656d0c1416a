#pragma once
// The packed measurement record: the ".PX510" file and the database row's
// embedded image are the same bytes. 561 bytes of header, then up to 6000
// raw profile bytes; little-endian, no alignment.
//
//   offset  size  content
//        0     1  format byte (1)
//        1     1  reserved
//        2    21  date text: length byte (0 .. 20), then the characters (GB2312)
//       23    10  reserved
//       33    28  eight codes (RecordCode order), then reserved
//       61   496  twelve doubles Ra .. Sk, then reserved
//      557     4  raw byte count c (0 .. 6000)
//      561     c  raw samples, signed 16-bit little-endian

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

class QIODevice;

// Offsets 33 .. 40, in record order.
enum RecordCode : int {
    CodeCutoff = 0,
    CodeSampleLengths,
    CodeStandard,
    CodeRange,
    CodeFilter,
    CodeUnitSystem,
    CodeActualRange,
    CodeActualCutoff,
    RecordCodeCount
};

class TPXFileIO {
public:
    static constexpr int HeaderSize = 561;
    static constexpr int MaxRawBytes = 6000;
    static constexpr int DateTextLength = 20;
    static constexpr int ValueCount = 12;

    TPXFileIO() = default;
    virtual ~TPXFileIO() = default;
    TPXFileIO(const TPXFileIO &) = default;
    TPXFileIO &operator=(const TPXFileIO &) = default;

    // The bytes of a measurement file: a regular file of at most one whole
    // record (561 + 6000 bytes). FileError when it cannot be read or is no
    // regular file, RecordError when it is longer.
    static QByteArray ReadRecordFile(const QString &fileName);

    // Loads check the whole record first and throw RecordError (FileError for
    // a file that cannot be read) without changing the object. They return
    // true when a record was read.
    virtual bool LoadFromFile(const QString &fileName);
    virtual bool LoadFromStream(QIODevice &stream);
    // Saves write 561 + RawByteCount bytes; a file is replaced atomically.
    virtual void SaveToFile(const QString &fileName);
    virtual void SaveToStream(QIODevice &stream);

    // The record as the eight pieces it is read and written in.
    uint8_t FormatByte = 0;
    uint8_t Reserved1 = 0;
    std::array<uint8_t, 1 + DateTextLength> DateBlock{};
    std::array<uint8_t, 10> Reserved2{};
    std::array<uint8_t, 28> CodeBlock{};
    std::array<uint8_t, 496> ValueBlock{};
    int32_t RawByteCount = 0;
    std::array<uint8_t, MaxRawBytes> RawData{};

    // Typed views of the pieces.
    QByteArray DateTextBytes() const;
    QString DateText() const;
    // Cut to 20 GB2312 bytes; the bytes after the text stay as they were.
    void SetDateText(const QString &text);
    uint8_t Code(RecordCode code) const { return CodeBlock[code]; }
    void SetCode(RecordCode code, uint8_t value) { CodeBlock[code] = value; }
    double Value(int index) const;
    void SetValue(int index, double value);

    // The record as bytes, and back. FromBytes throws RecordError for a record
    // that is too short, whose count lies outside 0 .. 6000 or whose date
    // length exceeds 20, and then leaves the object as it was.
    QByteArray ToBytes() const;
    void FromBytes(const QByteArray &bytes);
};

class TPX510FileIO : public TPXFileIO {
public:
    // Format byte 1, the current time as date text, the default conditions.
    TPX510FileIO();

    // As the base load; true when the format byte read is 1.
    bool LoadFromFile(const QString &fileName) override;
    bool LoadFromStream(QIODevice &stream) override;
    // Set the format byte to 1, then save.
    void SaveToFile(const QString &fileName) override;
    void SaveToStream(QIODevice &stream) override;
};
