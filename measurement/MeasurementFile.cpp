// Moving the current measurement into and out of the measurement record.

#include "common/DateTimeText.h"
#include "common/Errors.h"
#include "files/FileBytes.h"
#include "files/PX510FileUnit.h"
#include "measurement/Measurement.h"

#include <QBuffer>
#include <cmath>
#include <limits>
#include <optional>

namespace {

struct CodeRule {
    RecordCode code;
    uint8_t highest;
    const char16_t *name;
};

// Every code a measurement can hold; anything else is damage.
constexpr CodeRule CodeRules[] = {
    {CodeCutoff, 3, u"取样长度代码"},      {CodeSampleLengths, 4, u"取样段数代码"},
    {CodeStandard, 3, u"标准代码"},        {CodeRange, 3, u"量程代码"},
    {CodeFilter, 3, u"滤波器代码"},        {CodeUnitSystem, 1, u"单位制代码"},
    {CodeActualRange, 3, u"实际量程代码"}, {CodeActualCutoff, 3, u"实际取样长度代码"},
};

[[noreturn]] void refuse(const QString &cause)
{
    throw RecordError(QStringLiteral("测量数据文件已损坏：") + cause);
}

// The time the record's date text gives. A NUL ends the text; anything but
// padding after it means the text is damaged, not a date at midnight.
std::optional<double> readMeasureTime(const TPXFileIO &record)
{
    const QByteArray bytes = record.DateTextBytes();
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0 && bytes.mid(nul).count('\0') != bytes.size() - nul)
        return std::nullopt;
    return DateTimeText::parseRecordText(record.DateText());
}

// Everything the record carries beyond its structure, checked before any of
// it is taken over. Returns the measurement time; not finite when the date
// text cannot be read (the record is still taken over).
double checkContents(const TPXFileIO &record, TPX510parameters &params)
{
    for (const CodeRule &rule : CodeRules) {
        if (record.Code(rule.code) > rule.highest)
            refuse(QStringLiteral("%1 %2 无效。").arg(QString::fromUtf16(rule.name)).arg(record.Code(rule.code)));
    }
    auto parameters = params.InReportOrder();
    for (int i = 0; i < TPXFileIO::ValueCount; ++i) {
        if (!std::isfinite(record.Value(i)))
            refuse(QStringLiteral("参数 %1 的值无效。").arg(parameters[i]->ParamName));
    }
    return readMeasureTime(record).value_or(std::numeric_limits<double>::quiet_NaN());
}

} // namespace

void TMeasurement::SaveMeasurementStream(QByteArray &stream)
{
    TPX510FileIO &record = *FileIO;
    auto parameters = InstrumentParams.InReportOrder();
    for (int i = 0; i < TPXFileIO::ValueCount; ++i)
        record.SetValue(i, parameters[i]->ParamValue);
    record.SetCode(CodeCutoff, Conditions.Cutoff);
    record.SetCode(CodeSampleLengths, Conditions.SampleLengths);
    record.SetCode(CodeStandard, Conditions.Standard);
    record.SetCode(CodeRange, Conditions.Range);
    record.SetCode(CodeFilter, Conditions.FilterCode);
    record.SetCode(CodeUnitSystem, UnitSystem);
    record.SetCode(CodeActualRange, ActualRange);
    record.SetCode(CodeActualCutoff, ActualCutoff);
    // A fixed form, whatever the locale, so that it fits and reads back
    // anywhere. An unknown time keeps the text the record came with.
    if (MeasureTimeKnown())
        record.SetDateText(DateTimeText::recordText(MeasureTime));
    record.RawByteCount = RawByteCount;
    record.RawData = RawData;

    stream.clear();
    QBuffer buffer(&stream);
    buffer.open(QIODevice::WriteOnly);
    record.SaveToStream(buffer);
}

void TMeasurement::SaveMeasurementFile(const QString &fileName)
{
    QByteArray stream;
    SaveMeasurementStream(stream);
    FileBytes::writeAtomically(fileName, stream);
}

void TMeasurement::LoadMeasurementStream(const QByteArray &stream)
{
    // Read and check into a separate record; the measurement and its file object
    // change only once the whole record has proved usable.
    TPX510FileIO incoming = *FileIO;
    QByteArray bytes = stream;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    incoming.LoadFromStream(buffer); // any format byte is taken over
    const double measureTime = checkContents(incoming, InstrumentParams);

    *FileIO = incoming;
    auto parameters = InstrumentParams.InReportOrder();
    for (int i = 0; i < TPXFileIO::ValueCount; ++i)
        parameters[i]->ParamValue = incoming.Value(i);
    Conditions.Cutoff = incoming.Code(CodeCutoff);
    Conditions.SampleLengths = incoming.Code(CodeSampleLengths);
    Conditions.Standard = incoming.Code(CodeStandard);
    Conditions.Range = incoming.Code(CodeRange);
    Conditions.FilterCode = incoming.Code(CodeFilter);
    UnitSystem = incoming.Code(CodeUnitSystem);
    ActualRange = incoming.Code(CodeActualRange);
    ActualCutoff = incoming.Code(CodeActualCutoff);
    MeasureTime = measureTime;
    RawByteCount = incoming.RawByteCount;
    RawData = incoming.RawData;
    DecodeProfile();
    // The values are in the record's unit system: label them so.
    SetParameterUnitTexts();
    DistributeParameters();
    HasData = true;
}

void TMeasurement::LoadMeasurementFile(const QString &fileName)
{
    LoadMeasurementStream(TPXFileIO::ReadRecordFile(fileName));
}

bool TMeasurement::MeasureTimeKnown() const
{
    return std::isfinite(MeasureTime);
}

QString TMeasurement::MeasureTimeWarning() const
{
    if (MeasureTimeKnown())
        return {};
    const bool cut = FileIO->DateTextBytes().contains('\0');
    return QStringLiteral("测量时间“%1”%2无法识别，该测量按时间未知打开。")
        .arg(FileIO->DateText(), cut ? QStringLiteral("（其后有空字符和其他字节）") : QString());
}
