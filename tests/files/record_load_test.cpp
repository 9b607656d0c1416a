#include "SampleMeasurement.h"
#include "TestSupport.h"

#include "common/DateTimeText.h"
#include "common/Errors.h"
#include "files/PX510FileUnit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>

#include <sys/stat.h>

namespace {

QByteArray goodRecord()
{
    TMeasurement s;
    fillMeasurement(s, 2000);
    QByteArray b;
    s.SaveMeasurementStream(b);
    return b;
}

void putInt32(QByteArray &b, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, b.data() + offset);
}

void putDateText(QByteArray &b, const QByteArray &text)
{
    b[2] = static_cast<char>(text.size());
    b.replace(3, text.size(), text);
}

// Everything a load may change, to prove that a refused one changed none of it.
struct Snapshot {
    explicit Snapshot(TMeasurement &s)
    {
        for (Tparameter *p : s.InstrumentParams.InReportOrder())
            parameters +=
                QStringLiteral("%1 %2 %3;").arg(p->ParamName).arg(p->ParamValue, 0, 'g', 17).arg(p->ParamUnit);
        for (Tparameter *p : s.IsoParams.ParamSlots)
            if (p)
                parameters += QStringLiteral("%1 %2;").arg(p->ParamValue, 0, 'g', 17).arg(p->ParamUnit);
        conditions = s.Conditions;
        codes = {s.UnitSystem, s.ActualRange, s.ActualCutoff};
        time = s.MeasureTime;
        counts = {s.RawByteCount, s.SampleCount, s.RoughnessCount};
        raw = s.RawData;
        profile = s.Profile;
        roughness = s.RoughnessProfile;
        curve = s.BearingCurve;
        step = s.BearingLevelStep;
        hasData = s.HasData;
        record = s.FileIO->ToBytes();
    }
    bool operator==(const Snapshot &) const = default;

    QString parameters;
    TConditions conditions;
    std::array<uint8_t, 3> codes;
    double time;
    std::array<int32_t, 3> counts;
    std::array<uint8_t, 6000> raw;
    std::array<double, 3000> profile, roughness;
    std::array<double, 100> curve;
    double step;
    bool hasData;
    QByteArray record;
};

struct Damage {
    const char *name;
    std::function<void(QByteArray &)> apply;
    const char *cause; // part of the message
};

const Damage Damages[] = {
    {"no header", [](QByteArray &b) { b.truncate(560); }, "561"},
    {"empty", [](QByteArray &b) { b.clear(); }, "561"},
    {"count above 6000",
     [](QByteArray &b) {
         putInt32(b, 557, 6002);
         b.append(QByteArray(3000, 0));
     },
     "6002"},
    {"negative count", [](QByteArray &b) { putInt32(b, 557, -4); }, "-4"},
    {"short raw data", [](QByteArray &b) { b.chop(1); }, "4561"},
    {"date longer than 20", [](QByteArray &b) { b[2] = 21; }, "21"},
    {"filter code", [](QByteArray &b) { b[37] = 4; }, "滤波器"},
    {"unit system", [](QByteArray &b) { b[38] = 2; }, "单位制"},
    {"sampling lengths", [](QByteArray &b) { b[34] = 5; }, "取样段数"},
    {"value not a number",
     [](QByteArray &b) {
         double nan = std::numeric_limits<double>::quiet_NaN();
         std::memcpy(b.data() + 61 + 8 * 4, &nan, 8);
     },
     "Ryi"},
};

} // namespace

TEST(RecordLoad, DamagedRecordIsRefusedAndTheSessionKeepsItsMeasurement)
{
    TMeasurement s;
    fillMeasurement(s); // metric, 3000 samples
    s.SetParameterUnitTexts();
    s.DistributeParameters();
    const Snapshot before(s);
    for (const Damage &d : Damages) {
        QByteArray b = goodRecord();
        d.apply(b);
        try {
            s.LoadMeasurementStream(b);
            ADD_FAILURE() << d.name << ": loaded";
        } catch (const RecordError &e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("测量数据文件已损坏："))) << d.name;
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(d.cause))) << d.name << ": " << e.what();
        }
        EXPECT_TRUE(Snapshot(s) == before) << d.name;
    }
}

TEST(RecordLoad, MissingFileIsAFileErrorAndChangesNothing)
{
    TMeasurement s;
    fillMeasurement(s, 1000);
    const Snapshot before(s);
    EXPECT_THROW(s.LoadMeasurementFile(QStringLiteral("/nonexistent/none.PX510")), FileError);
    EXPECT_THROW(s.LoadMeasurementFile(sourcePath(QStringLiteral("tests/fixtures/truncated.PX510"))), RecordError);
    EXPECT_TRUE(Snapshot(s) == before);
}

TEST(RecordLoad, FixtureWrittenByteByByteLoads)
{
    TMeasurement s;
    s.LoadMeasurementFile(sourcePath(QStringLiteral("tests/fixtures/imperial_1000.PX510")));
    EXPECT_TRUE(s.HasData);
    EXPECT_EQ(s.Conditions, (TConditions{0, 0, 0, 1, 3}));
    EXPECT_EQ(s.UnitSystem, 1);
    EXPECT_EQ(s.ActualRange, 3);
    EXPECT_EQ(s.ActualCutoff, 1);
    EXPECT_EQ(DateTimeText::recordText(s.MeasureTime), QStringLiteral("2023-11-5 8:04:09"));
    EXPECT_EQ(s.InstrumentParams.Ra.ParamValue, 50.5);
    EXPECT_EQ(s.InstrumentParams.Sk.ParamValue, -0.25);
    EXPECT_EQ(s.SampleCount, 1000);
    EXPECT_EQ(s.RoughnessCount, 500);
    // Range automatic, actual ±80 μm, imperial: 4096 counts are 3200 μin.
    int16_t first = static_cast<int16_t>(s.RawData[0] | s.RawData[1] << 8);
    EXPECT_DOUBLE_EQ(s.Profile[0], first / 4096.0 * 3200);
    // Cutoff automatic, actual 0.25 mm = 10 mil, one sampling length; PC-RC starts 250 steps in.
    EXPECT_DOUBLE_EQ(s.SampleSpacing(), 0.01);
    EXPECT_DOUBLE_EQ(s.RoughnessOrigin, 2.5);
}

TEST(RecordLoad, UnitTextsFollowTheRecordsUnitSystem)
{
    TMeasurement s;
    s.LoadMeasurementFile(sourcePath(QStringLiteral("tests/fixtures/imperial_1000.PX510")));
    EXPECT_EQ(s.InstrumentParams.Ra.ParamUnit, QStringLiteral("μin"));
    EXPECT_EQ(s.InstrumentParams.Rv.ParamUnit, QStringLiteral("μin"));
    EXPECT_EQ(s.InstrumentParams.Sm.ParamUnit, QStringLiteral("mil"));
    EXPECT_EQ(s.InstrumentParams.Sk.ParamUnit, QString());
    EXPECT_EQ(s.AnsiParams.Rmax.ParamUnit, QStringLiteral("μin")) << "the standard sets receive them";
    EXPECT_EQ(s.AnsiParams.S.ParamUnit, QStringLiteral("mil"));

    s.LoadMeasurementStream(goodRecord()); // metric again
    EXPECT_EQ(s.IsoParams.Ra.ParamUnit, QStringLiteral("μm"));
    EXPECT_EQ(s.IsoParams.S.ParamUnit, QStringLiteral("mm"));
}

TEST(RecordLoad, TolerableOddities)
{
    const struct {
        const char *name;
        std::function<void(QByteArray &)> apply;
        int samples;
    } cases[] = {
        {"format byte 7", [](QByteArray &b) { b[0] = 7; }, 2000},
        {"odd count", [](QByteArray &b) { putInt32(b, 557, 3999); }, 1999},
        {"count 0",
         [](QByteArray &b) {
             putInt32(b, 557, 0);
             b.truncate(561);
         },
         0},
        {"bytes after the record", [](QByteArray &b) { b.append("trailing"); }, 2000},
        {"slashes", [](QByteArray &b) { putDateText(b, "2023/7/16 12:00:07"); }, 2000},
        {"leading zeros", [](QByteArray &b) { putDateText(b, "2023-07-16 12:00:07"); }, 2000},
        {"date only", [](QByteArray &b) { putDateText(b, "2023-07-16"); }, 2000},
        {"another PC's regional form", [](QByteArray &b) { putDateText(b, "16.07.2023 12:00"); }, 2000},
        {"NUL padding after the text", [](QByteArray &b) { putDateText(b, QByteArray("2023-7-16\0\0", 11)); }, 2000},
    };
    for (const auto &c : cases) {
        QByteArray b = goodRecord();
        c.apply(b);
        TMeasurement s;
        ASSERT_NO_THROW(s.LoadMeasurementStream(b)) << c.name;
        EXPECT_TRUE(s.HasData) << c.name;
        EXPECT_EQ(s.SampleCount, c.samples) << c.name;
        EXPECT_EQ(s.RoughnessCount, std::max(c.samples - 500, 0)) << c.name;
        EXPECT_EQ(static_cast<int>(s.MeasureTime), 45123) << c.name;
    }
}

TEST(RecordLoad, AnUnreadableDateOpensTheRecordWithTheTimeUnknownAndKeepsTheText)
{
    const struct {
        const char *name;
        QByteArray text;
        const char *shown; // part of the warning
    } cases[] = {
        {"impossible date", "2023-2-30", "2023-2-30"},
        {"no date at all", "gestern", "gestern"},
        // Not midnight of the 16th: the text was cut by damage.
        {"bytes after a NUL", QByteArray("2023-7-16\0 12:00:07", 20), "空字符"},
    };
    for (const auto &c : cases) {
        QByteArray b = goodRecord();
        putDateText(b, c.text);
        TMeasurement s;
        ASSERT_NO_THROW(s.LoadMeasurementStream(b)) << c.name;
        EXPECT_TRUE(s.HasData) << c.name;
        EXPECT_EQ(s.SampleCount, 2000) << c.name;
        EXPECT_FALSE(s.MeasureTimeKnown()) << c.name;
        EXPECT_TRUE(s.MeasureTimeWarning().contains(QString::fromUtf8(c.shown))) << c.name;
        EXPECT_EQ(DateTimeText::displayText(s.MeasureTime), QStringLiteral("时间未知")) << c.name;

        // Saved again, the record carries the date text it came with.
        QByteArray again;
        s.SaveMeasurementStream(again);
        EXPECT_EQ(again.mid(2, 21), b.mid(2, 21)) << c.name;
    }
    TMeasurement s;
    s.LoadMeasurementStream(goodRecord());
    EXPECT_TRUE(s.MeasureTimeKnown());
    EXPECT_TRUE(s.MeasureTimeWarning().isEmpty());
}

TEST(RecordLoad, OnlyARegularFileOfAtMostOneRecordIsRead)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.PX510"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString tooLong = dir.filePath(QStringLiteral("long.PX510"));
    QByteArray longer = goodRecord();
    longer.append(QByteArray(6561 - longer.size() + 1, '\0'));
    {
        QFile f(tooLong);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(longer);
    }
    const QString largest = dir.filePath(QStringLiteral("largest.PX510"));
    {
        TMeasurement full;
        fillMeasurement(full); // 3000 samples: 6561 bytes
        full.SaveMeasurementFile(largest);
    }

    TMeasurement s;
    fillMeasurement(s, 1000);
    const Snapshot before(s);
    // Each would block or read without end if it were opened as a file.
    for (const QString &path : {fifo, QStringLiteral("/dev/zero"), dir.path()}) {
        try {
            s.LoadMeasurementFile(path);
            ADD_FAILURE() << path.toStdString() << ": loaded";
        } catch (const FileError &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("不是普通文件"))) << e.what();
            EXPECT_TRUE(e.message().contains(path)) << e.what();
        }
    }
    EXPECT_THROW(s.LoadMeasurementFile(tooLong), RecordError);
    EXPECT_THROW(TPX510FileIO().LoadFromFile(tooLong), RecordError);
    EXPECT_TRUE(Snapshot(s) == before);
    ASSERT_NO_THROW(s.LoadMeasurementFile(largest));
    EXPECT_EQ(s.SampleCount, 3000);
}
