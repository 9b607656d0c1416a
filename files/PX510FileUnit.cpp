#include "files/PX510FileUnit.h"

#include "common/DateTimeText.h"
#include "common/Errors.h"
#include "common/TextCodec.h"
#include "files/FileBytes.h"

#include <QBuffer>
#include <QIODevice>
#include <QtEndian>
#include <bit>
#include <cstring>

namespace {

constexpr int CountOffset = 557;

QString damaged(const QString &cause)
{
    return QStringLiteral("测量数据文件已损坏：") + cause;
}

template <size_t N>
void appendPiece(QByteArray &out, const std::array<uint8_t, N> &piece, size_t length = N)
{
    out.append(reinterpret_cast<const char *>(piece.data()), static_cast<qsizetype>(length));
}

// Reads the next `length` bytes into the piece; the caller has checked the size.
template <size_t N>
void takePiece(const QByteArray &bytes, qsizetype &position, std::array<uint8_t, N> &piece, size_t length = N)
{
    std::memcpy(piece.data(), bytes.constData() + position, length);
    position += static_cast<qsizetype>(length);
}

// GB2312 characters above 0x7F take two bytes: never keep half of one.
QByteArray cutToBytes(QByteArray text, int limit)
{
    int kept = 0;
    while (kept < text.size()) {
        int width = static_cast<uint8_t>(text[kept]) >= 0x80 ? 2 : 1;
        if (kept + width > limit)
            break;
        kept += width;
    }
    text.truncate(kept);
    return text;
}

} // namespace

QByteArray TPXFileIO::DateTextBytes() const
{
    int length = std::min<int>(DateBlock[0], DateTextLength);
    return QByteArray(reinterpret_cast<const char *>(DateBlock.data() + 1), length);
}

QString TPXFileIO::DateText() const
{
    return TextCodec::fromGb2312(DateTextBytes());
}

void TPXFileIO::SetDateText(const QString &text)
{
    QByteArray encoded = cutToBytes(TextCodec::toGb2312(text), DateTextLength);
    if (encoded == DateTextBytes())
        return; // a record read keeps its bytes as they were
    // Nothing of an earlier, longer text stays behind a new one.
    DateBlock.fill(0);
    DateBlock[0] = static_cast<uint8_t>(encoded.size());
    std::memcpy(DateBlock.data() + 1, encoded.constData(), static_cast<size_t>(encoded.size()));
}

double TPXFileIO::Value(int index) const
{
    quint64 bits = qFromLittleEndian<quint64>(ValueBlock.data() + 8 * index);
    return std::bit_cast<double>(bits);
}

void TPXFileIO::SetValue(int index, double value)
{
    qToLittleEndian<quint64>(std::bit_cast<quint64>(value), ValueBlock.data() + 8 * index);
}

QByteArray TPXFileIO::ToBytes() const
{
    if (RawByteCount < 0 || RawByteCount > MaxRawBytes)
        throw RecordError(QStringLiteral("测量数据无效：数据字节数 %1 不在 0 到 6000 之间。").arg(RawByteCount));
    QByteArray out;
    out.reserve(HeaderSize + RawByteCount);
    out.append(static_cast<char>(FormatByte));
    out.append(static_cast<char>(Reserved1));
    appendPiece(out, DateBlock);
    appendPiece(out, Reserved2);
    appendPiece(out, CodeBlock);
    appendPiece(out, ValueBlock);
    std::array<uint8_t, 4> count{};
    qToLittleEndian<qint32>(RawByteCount, count.data());
    appendPiece(out, count);
    appendPiece(out, RawData, static_cast<size_t>(RawByteCount));
    return out;
}

void TPXFileIO::FromBytes(const QByteArray &bytes)
{
    if (bytes.size() < HeaderSize)
        throw RecordError(damaged(QStringLiteral("记录只有 %1 字节，短于 561 字节的记录头。").arg(bytes.size())));
    qint32 count = qFromLittleEndian<qint32>(bytes.constData() + CountOffset);
    if (count < 0 || count > MaxRawBytes)
        throw RecordError(damaged(QStringLiteral("数据字节数 %1 不在 0 到 6000 之间。").arg(count)));
    if (bytes.size() - HeaderSize < count)
        throw RecordError(
            damaged(QStringLiteral("记录应有 %1 字节，实际只有 %2 字节。").arg(HeaderSize + count).arg(bytes.size())));
    if (static_cast<uint8_t>(bytes[2]) > DateTextLength)
        throw RecordError(damaged(QStringLiteral("日期文本长度 %1 超过 20。").arg(static_cast<uint8_t>(bytes[2]))));

    // Everything is checked: take the pieces over. The raw buffer beyond the
    // count keeps what it held, as with a plain read into it.
    TPXFileIO record = *this;
    qsizetype position = 0;
    record.FormatByte = static_cast<uint8_t>(bytes[position++]);
    record.Reserved1 = static_cast<uint8_t>(bytes[position++]);
    takePiece(bytes, position, record.DateBlock);
    takePiece(bytes, position, record.Reserved2);
    takePiece(bytes, position, record.CodeBlock);
    takePiece(bytes, position, record.ValueBlock);
    record.RawByteCount = count;
    position += 4;
    takePiece(bytes, position, record.RawData, static_cast<size_t>(count));
    *this = record;
}

QByteArray TPXFileIO::ReadRecordFile(const QString &fileName)
{
    constexpr qint64 largest = HeaderSize + MaxRawBytes;
    QByteArray bytes = FileBytes::readRegularFile(fileName, largest);
    if (bytes.size() > largest)
        throw RecordError(damaged(QStringLiteral("文件长于最大的测量记录（%1 字节）。").arg(largest)));
    return bytes;
}

bool TPXFileIO::LoadFromFile(const QString &fileName)
{
    QByteArray bytes = ReadRecordFile(fileName);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    return LoadFromStream(stream);
}

bool TPXFileIO::LoadFromStream(QIODevice &stream)
{
    if (!stream.isReadable() || !stream.seek(0))
        throw FileError(QStringLiteral("无法读取测量数据：%1").arg(stream.errorString()));
    FromBytes(stream.readAll());
    return true;
}

void TPXFileIO::SaveToFile(const QString &fileName)
{
    QByteArray bytes;
    QBuffer stream(&bytes);
    stream.open(QIODevice::WriteOnly);
    SaveToStream(stream);
    FileBytes::writeAtomically(fileName, bytes);
}

void TPXFileIO::SaveToStream(QIODevice &stream)
{
    QByteArray bytes = ToBytes();
    // Positioned at the start and left there; a longer stream is not truncated.
    if (!stream.isWritable() || !stream.seek(0) || stream.write(bytes) != bytes.size())
        throw FileError(QStringLiteral("无法写入测量数据：%1").arg(stream.errorString()));
    stream.seek(0);
}

TPX510FileIO::TPX510FileIO()
{
    FormatByte = 1;
    SetDateText(DateTimeText::recordText(DateTimeText::now()));
    SetCode(CodeCutoff, 2);
    SetCode(CodeSampleLengths, 4);
    SetCode(CodeStandard, 0);
    SetCode(CodeRange, 2);
    SetCode(CodeFilter, 2);
    SetCode(CodeUnitSystem, 0);
    SetCode(CodeActualRange, 2);
    SetCode(CodeActualCutoff, 2);
}

bool TPX510FileIO::LoadFromFile(const QString &fileName)
{
    TPXFileIO::LoadFromFile(fileName);
    return FormatByte == 1;
}

bool TPX510FileIO::LoadFromStream(QIODevice &stream)
{
    TPXFileIO::LoadFromStream(stream);
    return FormatByte == 1;
}

void TPX510FileIO::SaveToFile(const QString &fileName)
{
    FormatByte = 1;
    TPXFileIO::SaveToFile(fileName);
}

void TPX510FileIO::SaveToStream(QIODevice &stream)
{
    FormatByte = 1;
    TPXFileIO::SaveToStream(stream);
}
