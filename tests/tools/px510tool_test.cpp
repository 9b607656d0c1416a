// px510tool as a user runs it: the built program, its stdout, stderr and exit code.

#include "TestSupport.h"

#include "link/ComToPX510Unit.h"
#include "link/Frame.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int status;
    QByteArray out, err;
};

ToolRun px510tool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(PX510_PROGRAM_DIR "/px510tool"), args);
    if (!p.waitForFinished(20000))
        return {-1, {}, "did not finish"};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QString fixture(const char *name)
{
    return sourcePath(QStringLiteral("tests/fixtures/") + QLatin1String(name));
}

// The fixture as the program itself loads it, to compare the tool's numbers with.
struct Loaded {
    Loaded() { session.LoadMeasurementFile(fixture("imperial_1000.PX510")); }
    TComToPX510 session;
};

double number(const QByteArray &text)
{
    bool ok = false;
    double value = text.toDouble(&ok); // always with a decimal point
    EXPECT_TRUE(ok) << text.constData();
    return value;
}

} // namespace

TEST(Px510Tool, InfoDescribesTheRecordInOneJsonObject)
{
    ToolRun r = px510tool({QStringLiteral("info"), fixture("imperial_1000.PX510")});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    ASSERT_EQ(r.out.count('\n'), 1);
    QJsonParseError error;
    QJsonObject info = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.constData();
    EXPECT_EQ(info.keys().size(), 18);
    const char *order[] = {
        "format",       "date_text",       "measure_time",   "cutoff",           "sample_lengths",     "standard",
        "range",        "filter",          "unit_system",    "actual_range",     "actual_cutoff",      "raw_byte_count",
        "sample_count", "roughness_count", "sample_spacing", "roughness_origin", "bearing_level_step", "params"};
    qsizetype last = -1;
    for (const char *key : order) {
        qsizetype at = r.out.indexOf(QByteArray("\"") + key + "\"");
        EXPECT_GT(at, last) << key;
        last = at;
    }
    EXPECT_EQ(info[QStringLiteral("format")].toInt(), 1);
    EXPECT_EQ(info[QStringLiteral("date_text")].toString(), QStringLiteral("2023-11-5 8:04:09"));
    const int codes[] = {0, 0, 3, 0, 1, 1, 3, 1};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(info[QLatin1String(order[3 + i])].toInt(), codes[i]) << order[3 + i];
    EXPECT_EQ(info[QStringLiteral("raw_byte_count")].toInt(), 2000);
    EXPECT_EQ(info[QStringLiteral("sample_count")].toInt(), 1000);
    EXPECT_EQ(info[QStringLiteral("roughness_count")].toInt(), 500);

    // Every float reads back to exactly the session's value.
    Loaded l;
    EXPECT_EQ(info[QStringLiteral("measure_time")].toDouble(), l.session.MeasureTime);
    EXPECT_EQ(info[QStringLiteral("sample_spacing")].toDouble(), l.session.SampleSpacing());
    EXPECT_EQ(info[QStringLiteral("roughness_origin")].toDouble(), l.session.RoughnessOrigin);
    EXPECT_EQ(info[QStringLiteral("bearing_level_step")].toDouble(), l.session.BearingLevelStep);
    QJsonObject params = info[QStringLiteral("params")].toObject();
    const char *names[] = {"Ra", "Rq", "Rz", "R3z", "Ryi", "Ryd", "Rt", "Rp", "Rv", "S", "Sm", "Sk"};
    auto parameters = l.session.InstrumentParams.InReportOrder();
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(params[QLatin1String(names[i])].toDouble(), parameters[i]->ParamValue) << names[i];
}

TEST(Px510Tool, CurvesAreExactlyTheChartedPoints)
{
    ToolRun r = px510tool({QStringLiteral("curves"), fixture("imperial_1000.PX510")});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.takeLast(), QByteArray());
    ASSERT_EQ(lines.size(), 1 + 1000 + 500 + 100);
    EXPECT_EQ(lines[0], QByteArray("series,index,x,y"));
    Loaded l;
    const TComToPX510 &s = l.session;
    for (int i : {0, 1, 999}) {
        QList<QByteArray> f = lines[1 + i].split(',');
        EXPECT_EQ(f[0], QByteArray("profile"));
        EXPECT_EQ(number(f[2]), i * s.SampleSpacing());
        EXPECT_EQ(number(f[3]), s.Profile[i]);
    }
    for (int i : {0, 499}) {
        QList<QByteArray> f = lines[1001 + i].split(',');
        EXPECT_EQ(f[0], QByteArray("roughness"));
        EXPECT_EQ(number(f[2]), s.RoughnessOrigin + i * s.SampleSpacing());
        EXPECT_EQ(number(f[3]), s.RoughnessProfile[i]);
    }
    for (int i : {0, 37, 99}) {
        QList<QByteArray> f = lines[1501 + i].split(',');
        EXPECT_EQ(f[0], QByteArray("bearing"));
        EXPECT_EQ(number(f[2]), s.BearingCurve[i]);
        EXPECT_EQ(number(f[3]), i);
    }
}

TEST(Px510Tool, ResultsAreTheProgramsResultBlock)
{
    Loaded l;
    for (int perLine : {6, 2}) {
        QStringList args{QStringLiteral("results"), fixture("imperial_1000.PX510")};
        if (perLine != 6)
            args << QStringLiteral("--per-line") << QString::number(perLine);
        ToolRun r = px510tool(args);
        ASSERT_EQ(r.status, 0) << r.err.constData();
        QString expected;
        l.session.ResultsText(perLine, expected);
        EXPECT_EQ(QString::fromUtf8(r.out), expected);
        EXPECT_TRUE(r.out.contains("μin")) << "imperial record, imperial units";
    }
}

TEST(Px510Tool, FrameIsTheRequestFrameInHex)
{
    ToolRun r = px510tool({QStringLiteral("frame"), QStringLiteral("v"), QStringLiteral("1e"), QStringLiteral("00")});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(r.out, Frame::Build('v', bytes({0x1E, 0x00})).toHex(' ').toUpper() + '\n');
    r = px510tool({QStringLiteral("frame"), QStringLiteral("a")});
    EXPECT_EQ(r.out, Frame::Build('a').toHex(' ').toUpper() + '\n');
}

TEST(Px510Tool, ExportWritesOneRowPerProfilePoint)
{
    QTemporaryDir dir;
    QString out = dir.filePath(QStringLiteral("m.csv"));
    ToolRun r = px510tool({QStringLiteral("export"), fixture("imperial_1000.PX510"), QStringLiteral("--csv"), out});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.takeLast(), QByteArray());
    ASSERT_EQ(lines.size(), 1001);
    EXPECT_EQ(lines[0], QByteArray("\xEF\xBB\xBFx (mil),profile (μin),roughness (μin)\r"));
    Loaded l;
    const TComToPX510 &s = l.session;
    // PC-RC: roughness point 0 lies at profile point 250, the last at 749.
    auto row = [&](int i) { return lines[1 + i].chopped(1).split(','); };
    EXPECT_EQ(row(249)[2], QByteArray());
    EXPECT_EQ(number(row(250)[0]), 250 * s.SampleSpacing());
    EXPECT_EQ(number(row(250)[1]), s.Profile[250]);
    EXPECT_EQ(number(row(250)[2]), s.RoughnessProfile[0]);
    EXPECT_EQ(number(row(749)[2]), s.RoughnessProfile[499]);
    EXPECT_EQ(row(750)[2], QByteArray());
}

TEST(Px510Tool, UnusableFilesAndWrongUsage)
{
    const struct {
        QStringList args;
        int status;
        const char *message; // in the one stderr line
    } cases[] = {
        {{QStringLiteral("info"), fixture("truncated.PX510")}, 1, "测量数据文件已损坏"},
        {{QStringLiteral("curves"), fixture("missing.PX510")}, 1, "missing.PX510"},
        {{QStringLiteral("export"), fixture("truncated.PX510"), QStringLiteral("--csv"),
          QStringLiteral("/tmp/never.csv")},
         1,
         "2561"},
        {{}, 2, "usage"},
        {{QStringLiteral("inspect")}, 2, "unknown command"},
        {{QStringLiteral("info")}, 2, "usage"},
        {{QStringLiteral("results"), fixture("imperial_1000.PX510"), QStringLiteral("--per-line"), QStringLiteral("0")},
         2,
         "--per-line"},
        {{QStringLiteral("frame"), QStringLiteral("v"), QStringLiteral("100")}, 2, "hex byte"},
        {{QStringLiteral("export"), fixture("imperial_1000.PX510")}, 2, "--csv"},
    };
    for (const auto &c : cases) {
        ToolRun r = px510tool(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(' ').toStdString();
        if (c.status == 1) {
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        }
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/never.csv")));
}
