// Moving the current measurement into and out of the measurement record.

#include "common/DateTimeText.h"
#include "common/Errors.h"
#include "files/FileBytes.h"
#include "files/PX510FileUnit.h"
#include "link/ComToPX510Unit.h"

#include <QBuffer>
#include <cmath>
#include <optional>

namespace {

struct CodeRule {
    RecordCode code;
    uint8_t highest;
    const char16_t *name;
};

// Every code a session can hold; anything else is damage.
constexpr CodeRule CodeRules[] = {
    {CodeCutoff, 3, u"取样长度代码"},
    {CodeSampleLengths, 4, u"取样段数代码"},
    {CodeStandard, 3, u"标准代码"},
    {CodeRange, 3, u"量程代码"},
    {CodeFilter, 3, u"滤波器代码"},
    {CodeUnitSystem, 1, u"单位制代码"},
    {CodeActualRange, 3, u"实际量程代码"},
    {CodeActualCutoff, 3, u"实际取样长度代码"},
};

[[noreturn]] void refuse(const QString &cause)
{
    throw RecordError(QStringLiteral("测量数据文件已损坏：") + cause);
}

// Everything the record carries beyond its structure, checked before any of
// it is taken over. Returns the measurement time.
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
    std::optional<double> time = DateTimeText::parseRecordText(record.DateText());
    if (!time)
        refuse(QStringLiteral("测量时间“%1”无法识别。").arg(record.DateText()));
    return *time;
}

} // namespace

void TComToPX510::SaveMeasurementStream(QByteArray &stream)
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
    // A fixed form, whatever the locale, so that it fits and reads back anywhere.
    record.SetDateText(DateTimeText::recordText(MeasureTime));
    record.RawByteCount = RawByteCount;
    record.RawData = RawData;

    stream.clear();
    QBuffer buffer(&stream);
    buffer.open(QIODevice::WriteOnly);
    record.SaveToStream(buffer);
}

void TComToPX510::SaveMeasurementFile(const QString &fileName)
{
    QByteArray stream;
    SaveMeasurementStream(stream);
    FileBytes::writeAtomically(fileName, stream);
}

void TComToPX510::LoadMeasurementStream(const QByteArray &stream)
{
    // Read and check into a separate record; the session and its file object
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

void TComToPX510::LoadMeasurementFile(const QString &fileName)
{
    LoadMeasurementStream(FileBytes::readAll(fileName));
}
