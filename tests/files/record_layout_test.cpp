#include "SampleMeasurement.h"
#include "TestSupport.h"

#include "common/DateTimeText.h"
#include "common/Errors.h"
#include "files/PX510FileUnit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace {

double doubleAt(const QByteArray &b, int offset)
{
    return std::bit_cast<double>(qFromLittleEndian<quint64>(b.constData() + offset));
}

} // namespace

TEST(RecordLayout, FullMeasurementIsSixThousandFiveHundredSixtyOneBytes)
{
    TMeasurement s;
    fillMeasurement(s);
    QByteArray b;
    b.fill('x', 9000); // whatever the array held is replaced
    s.SaveMeasurementStream(b);

    ASSERT_EQ(b.size(), 6561);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b.mid(2, 1 + b[2]),
              QByteArray("\x12"
                         "2023-7-16 12:00:07"));
    EXPECT_EQ(b.mid(33, 8), bytes({2, 4, 1, 3, 2, 0, 3, 2}))
        << "cutoff, lengths, standard, range, filter, unit, actual range, actual cutoff";
    auto parameters = s.InstrumentParams.InReportOrder();
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(doubleAt(b, 61 + 8 * i), parameters[i]->ParamValue) << i;
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + 557), 6000);
    EXPECT_EQ(std::memcmp(b.constData() + 561, s.RawData.data(), 6000), 0);
    // A record saved without a load before carries zeros in its reserved bytes.
    for (auto [from, to] : {std::pair{1, 2}, {23, 33}, {41, 61}, {157, 557}})
        EXPECT_EQ(b.mid(from, to - from), QByteArray(to - from, '\0')) << from;
}

TEST(RecordLayout, NewRecordObjectHasTheDefaults)
{
    TPX510FileIO record;
    EXPECT_EQ(record.FormatByte, 1);
    const uint8_t codes[] = {2, 4, 0, 2, 2, 0, 2, 2};
    for (int c = 0; c < RecordCodeCount; ++c)
        EXPECT_EQ(record.Code(RecordCode(c)), codes[c]) << c;
    auto time = DateTimeText::parseRecordText(record.DateText());
    ASSERT_TRUE(time.has_value());
    EXPECT_NEAR(*time, DateTimeText::now(), 2.0 / 86400);
    EXPECT_EQ(record.RawByteCount, 0);
    EXPECT_EQ(record.ToBytes().size(), 561);
}

TEST(RecordLayout, DateTextIsCutToTwentyBytesWithoutSplittingACharacter)
{
    TPXFileIO record;
    record.SetDateText(QStringLiteral("2023-11-25 23:59:59 and more"));
    EXPECT_EQ(record.DateText(), QStringLiteral("2023-11-25 23:59:59 "));
    record.SetDateText(QStringLiteral("2023-11-25 23:59:59μ")); // "μ" would be bytes 20 and 21
    EXPECT_EQ(record.DateText(), QStringLiteral("2023-11-25 23:59:59"));
    EXPECT_EQ(record.DateBlock[0], 19);
    // A shorter text leaves nothing of the longer one behind it: two records
    // of one measurement are the same bytes, whenever they were made.
    record.SetDateText(QStringLiteral("2023-7-16"));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(record.DateBlock.data()) + 10, 11), QByteArray(11, '\0'));
}

TEST(RecordLayout, MidnightIsWrittenWithoutTime)
{
    TMeasurement s;
    fillMeasurement(s, 1000);
    s.MeasureTime = 45123; // 2023-07-16 00:00:00
    QByteArray b;
    s.SaveMeasurementStream(b);
    EXPECT_EQ(b.mid(3, b[2]), QByteArray("2023-7-16"));
}

TEST(RecordLayout, StreamSaveStartsAtZeroAndLeavesTheRestOfTheStream)
{
    TPX510FileIO record;
    record.FormatByte = 9;
    QByteArray target(700, '\x7f');
    QBuffer stream(&target);
    stream.open(QIODevice::ReadWrite);
    stream.seek(300);
    record.SaveToStream(stream);
    EXPECT_EQ(stream.pos(), 0);
    EXPECT_EQ(target.size(), 700);
    EXPECT_EQ(target[0], 1) << "a save sets the format byte";
    EXPECT_EQ(target.mid(561), QByteArray(139, '\x7f'));
}

class RoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(RoundTrip, RestoresTheMeasurement)
{
    const bool throughFile = GetParam();
    TMeasurement source;
    fillMeasurement(source);
    source.UnitSystem = 1; // the record keeps whatever unit system it says
    source.DecodeProfile();
    TMeasurement target;
    if (throughFile) {
        QTemporaryDir dir;
        QString name = dir.filePath(QStringLiteral("测量 1.PX510"));
        source.SaveMeasurementFile(name);
        target.LoadMeasurementFile(name);
        QByteArray stream;
        source.SaveMeasurementStream(stream);
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), stream) << "a file and a database row hold the same bytes";
    } else {
        QByteArray stream;
        source.SaveMeasurementStream(stream);
        target.LoadMeasurementStream(stream);
    }
    EXPECT_TRUE(target.HasData);
    EXPECT_EQ(target.Conditions, source.Conditions);
    EXPECT_EQ(target.UnitSystem, 1);
    EXPECT_EQ(target.ActualRange, 3);
    EXPECT_EQ(target.ActualCutoff, 2);
    EXPECT_DOUBLE_EQ(target.MeasureTime, source.MeasureTime);
    auto a = source.InstrumentParams.InReportOrder(), b = target.InstrumentParams.InReportOrder();
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(a[i]->ParamValue, b[i]->ParamValue) << i;
    EXPECT_EQ(target.RawByteCount, 6000);
    EXPECT_EQ(target.RawData, source.RawData);
    EXPECT_EQ(target.SampleCount, 3000);
    EXPECT_EQ(target.Profile, source.Profile);
    EXPECT_EQ(target.RoughnessCount, 2500);
    EXPECT_EQ(target.RoughnessOrigin, source.RoughnessOrigin);
    EXPECT_EQ(target.RoughnessProfile, source.RoughnessProfile);
    EXPECT_EQ(target.BearingCurve, source.BearingCurve);
    EXPECT_EQ(target.DinParams.Rz.ParamValue, source.DinParams.Rz.ParamValue) << "standard sets filled";
    EXPECT_EQ(target.DinParams.Rz.ParamUnit, QStringLiteral("μin"));
}

INSTANTIATE_TEST_SUITE_P(FileAndStream, RoundTrip, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "File" : "Stream"; });

TEST(RecordLayout, ReservedBytesReadAreWrittenBackUnchanged)
{
    QFile fixture(sourcePath(QStringLiteral("tests/fixtures/imperial_1000.PX510")));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    const QByteArray original = fixture.readAll();
    TMeasurement s;
    s.LoadMeasurementStream(original);
    QByteArray saved;
    s.SaveMeasurementStream(saved);
    EXPECT_EQ(saved.toHex(' '), original.toHex(' '));
}

TEST(RecordLayout, SaveReplacesAFileWholeOrNotAtAll)
{
    QTemporaryDir dir;
    QString name = dir.filePath(QStringLiteral("m.PX510"));
    {
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(8000, 'o'));
    }
    TMeasurement s;
    fillMeasurement(s, 1000);
    s.SaveMeasurementFile(name);
    EXPECT_EQ(QFileInfo(name).size(), 2561) << "no tail of the longer old file";

    s.RawByteCount = 7000; // cannot be written: the existing file must survive
    EXPECT_THROW(s.SaveMeasurementFile(name), RecordError);
    EXPECT_EQ(QFileInfo(name).size(), 2561);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("m.PX510")});

    s.RawByteCount = 2000;
    EXPECT_THROW(s.SaveMeasurementFile(dir.filePath(QStringLiteral("missing/m.PX510"))), FileError);
}
