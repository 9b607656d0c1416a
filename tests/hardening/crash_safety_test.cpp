// A program killed while it saves never leaves a damaged measurement file or
// database behind: the helper saves in an endless loop and is killed with
// SIGKILL at a random moment, again and again.

#include "CrashVersions.h"
#include "DatabaseFixture.h"

#include "database/DatabaseConnection.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

namespace {

class CrashSafety : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    std::mt19937 Random{std::random_device{}()};
    const QByteArray Records[2] = {withoutDateSlack(versionRecord(0)), withoutDateSlack(versionRecord(1))};

    // The date text is length-prefixed in a field of 21 bytes; what follows
    // the text in that field is left from whatever the record held before.
    static QByteArray withoutDateSlack(QByteArray record)
    {
        constexpr int DateField = 2, DateFieldBytes = 21;
        if (record.size() > DateField + DateFieldBytes)
            for (int i = DateField + 1 + uint8_t(record[DateField]); i < DateField + DateFieldBytes; ++i)
                record[i] = 0;
        return record;
    }

    // Starts the helper, waits for its first complete save, lets it go on
    // saving for a random moment of up to `maxDelayUs`, then kills it.
    void SaveAndKill(const QStringList &arguments, int maxDelayUs)
    {
        QProcess saver;
        saver.start(QStringLiteral(CRASH_SAVER), arguments);
        ASSERT_TRUE(saver.waitForStarted(10000));
        while (!saver.canReadLine())
            ASSERT_TRUE(saver.waitForReadyRead(20000)) << saver.readAllStandardError().toStdString();
        ASSERT_EQ(saver.readLine(), QByteArray("ready\n"));
        const int delayUs = std::uniform_int_distribution<int>(0, maxDelayUs)(Random);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
        saver.kill(); // SIGKILL: nothing of the program runs any more
        ASSERT_TRUE(saver.waitForFinished(10000));
        EXPECT_EQ(saver.exitStatus(), QProcess::CrashExit) << "killed after " << delayUs << " us";
    }

    // The version whose record these bytes are; -1 for neither.
    int VersionOf(const QByteArray &record) const
    {
        const QByteArray compared = withoutDateSlack(record);
        return compared == Records[0] ? 0 : compared == Records[1] ? 1 : -1;
    }
};

TEST_F(CrashSafety, KilledWhileSavingAFileLeavesAWholeLoadableFile)
{
    const QString file = Dir.filePath(QStringLiteral("m.PX510"));
    TMeasurement previous;
    makeVersion(previous, 0);
    previous.SaveMeasurementFile(file);
    for (int kill = 0; kill < 20; ++kill) {
        SCOPED_TRACE(kill);
        SaveAndKill({QStringLiteral("file"), file}, 20000);
        QFile saved(file);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_NE(VersionOf(saved.readAll()), -1) << "the file is neither the old nor the new measurement";
        TMeasurement loaded;
        ASSERT_NO_THROW(loaded.LoadMeasurementFile(file));
        EXPECT_TRUE(loaded.HasData);
    }
}

TEST_F(CrashSafety, KilledWhileSavingARecordLeavesASoundDatabase)
{
    const QString database = Dir.filePath(QStringLiteral("DataViewDB.mdb"));
    ASSERT_TRUE(QFile::copy(shippedDatabase(), database));
    QFile::setPermissions(database, QFile::permissions(database) | QFile::WriteOwner);
    for (int kill = 0; kill < 10; ++kill) {
        SCOPED_TRACE(kill);
        SaveAndKill({QStringLiteral("record"), database, QStringLiteral("run%1").arg(kill)}, 40000);

        TDatabaseConnection connection;
        connection.Open(database);
        QSqlQuery check = connection.Run(QStringLiteral("PRAGMA integrity_check"));
        ASSERT_TRUE(check.next());
        EXPECT_EQ(check.value(0).toString(), QStringLiteral("ok"));
        QSqlQuery rows = connection.Run(QStringLiteral("select ID, WorkName, Ra, data from Data"));
        int keptRows = 0;
        QSet<QString> ids;
        while (rows.next()) {
            const QString id = rows.value(0).toString();
            SCOPED_TRACE(id.toStdString());
            const int version = VersionOf(rows.value(3).toByteArray());
            ASSERT_NE(version, -1) << "a row's measurement is neither the old nor the new one";
            EXPECT_EQ(rows.value(1).toString(), versionName(version)) << "texts and measurement of different saves";
            TMeasurement expected;
            makeVersion(expected, version);
            EXPECT_EQ(rows.value(2).toDouble(), expected.InstrumentParams.Ra.ParamValue);
            EXPECT_FALSE(ids.contains(id)) << "an ID stored twice";
            ids.insert(id);
            keptRows += id == QStringLiteral("K1");
        }
        EXPECT_EQ(keptRows, 1);
    }
}

} // namespace
