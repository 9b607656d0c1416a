// Opening the database file: what is refused, what is left untouched, and
// where the file is found.

#include "DatabaseFixture.h"
#include "ScriptedDialogs.h"

#include "common/Errors.h"
#include "database/DatabaseLocation.h"

#include <QDir>
#include <QFileInfo>

namespace {

QByteArray contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(OpenDatabase, AMissingOrForeignFileIsRefusedByNameAndLeftUntouched)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("DataViewDB.mdb"));
    const QString foreign = dir.filePath(QStringLiteral("foreign.mdb"));
    const QString otherTable = dir.filePath(QStringLiteral("other.mdb"));
    {
        QFile f(foreign);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("Standard Jet DB\0\0\0 not an SQLite file", 37).repeated(200));
    }
    {
        TDatabaseConnection db;
        QFile::copy(shippedDatabase(), otherTable);
        QFile::setPermissions(otherTable, QFile::permissions(otherTable) | QFile::WriteOwner);
        db.Open(otherTable);
        db.Run(QStringLiteral("alter table Data rename to Other"));
    }
    const QByteArray foreignBytes = contents(foreign), otherBytes = contents(otherTable);

    for (const QString &file : {missing, foreign, otherTable}) {
        TDataManager manager;
        try {
            manager.OpenDatabase(file);
            ADD_FAILURE() << "opened " << file.toStdString();
        } catch (const DatabaseError &e) {
            EXPECT_TRUE(e.message().contains(file)) << e.message().toStdString();
        }
        EXPECT_FALSE(manager.IsOpen());
        EXPECT_EQ(manager.MainQuery().Count(), 0);
    }
    EXPECT_FALSE(QFile::exists(missing)) << "the program never creates the database";
    EXPECT_EQ(contents(foreign), foreignBytes);
    EXPECT_EQ(contents(otherTable), otherBytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no side files were left";
}

TEST(OpenDatabase, CommandsOnAClosedDatabaseSaySo)
{
    TDataManager manager;
    TMeasurement session;
    makeMeasurement(session, 1);
    ScriptedDialogs dialogs;
    dialogs.YesNoAnswers = {true};
    const std::function<void()> commands[] = {
        [&] {
            manager.SaveMeasurementRecord(dialogs, session, {QStringLiteral("A"), {}, {}, {}});
        },
        [&] { manager.SuggestNextId(); },
        [&] { manager.LookupById(QStringLiteral("A")); },
        [&] { manager.MainQuery().ShowAll(); },
    };
    for (const auto &command : commands) {
        try {
            command();
            ADD_FAILURE() << "a command ran without a database";
        } catch (const DatabaseError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("数据库未打开。"));
        }
    }
    EXPECT_TRUE(dialogs.Questions.isEmpty());
    EXPECT_FALSE(manager.LoadCurrentRecord(session)) << "an empty list has no row to load";
}

TEST(DatabaseLocation, TheShippedFileIsCopiedOnceToTheUserDataFolderEvenWhenItCouldBeWritten)
{
    QTemporaryDir program, user;
    const QString appDir = program.path() + QLatin1Char('/');
    QDir().mkpath(appDir + QStringLiteral("file"));
    const QString shipped = DatabaseLocation::ShippedFile(appDir);
    EXPECT_EQ(shipped, appDir + QStringLiteral("file/DataViewDB.mdb"));
    const QString userFolder = user.filePath(QStringLiteral("data/file"));
    EXPECT_EQ(DatabaseLocation::ChooseFile(shipped, userFolder), shipped)
        << "a missing file is left for the opening to report";

    // Writable, as for root or a program folder the operator owns: still copied.
    ASSERT_TRUE(QFile::copy(shippedDatabase(), shipped));
    QFile::setPermissions(shipped, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray shippedBytes = [&] {
        QFile f(shipped);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const QString copy = DatabaseLocation::ChooseFile(shipped, userFolder);
    EXPECT_EQ(copy, userFolder + QStringLiteral("/DataViewDB.mdb"));
    EXPECT_TRUE(QFile::permissions(copy) & QFile::WriteOwner);
    TDataManager manager;
    manager.OpenDatabase(copy);
    ScriptedDialogs dialogs;
    dialogs.YesNoAnswers = {true};
    TMeasurement session;
    makeMeasurement(session, 1);
    EXPECT_EQ(manager.SaveMeasurementRecord(dialogs, session, {QStringLiteral("A"), {}, {}, {}}), 1);
    EXPECT_EQ(DatabaseLocation::ChooseFile(shipped, userFolder), copy) << "the copy is made once and kept";
    EXPECT_EQ(manager.MainQuery().Count(), 1);
    QFile f(shipped);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), shippedBytes) << "the shipped file is never written";
    EXPECT_FALSE(QFileInfo::exists(shipped + QStringLiteral("-wal")));

    // The program's own choice goes to the data folder of the environment.
    qputenv("XDG_DATA_HOME", user.filePath(QStringLiteral("other")).toLocal8Bit());
    EXPECT_EQ(DatabaseLocation::FileToOpen(appDir), user.filePath(QStringLiteral("other/px510/file/DataViewDB.mdb")));
}
