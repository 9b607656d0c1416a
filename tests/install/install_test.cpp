// `cmake --install` into a temporary prefix, then the installed programs,
// started from there with `--paths`, report the database and help they use.
//
// Root may write into folders whose mode forbids it, so when the tests run as
// root the programs of the read-only case run as "nobody": the modes then
// count for them exactly as for an operator on a system-wide install.

#include "database/DataManager.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <map>
#include <optional>

namespace {

const QString BuildDir = QStringLiteral(PX510_BUILD_DIR);

struct Finished {
    int ExitCode = -1;
    QString Out, Err;
};

// Who runs the programs: the test's own user, or "nobody" when that is root.
struct Operator {
    std::optional<uid_t> Uid;
    gid_t Gid = 0;

    static Operator ForModes()
    {
        Operator op;
        if (geteuid() != 0)
            return op;
        const passwd *pw = getpwnam("nobody");
        op.Uid = pw ? pw->pw_uid : 65534;
        op.Gid = pw ? pw->pw_gid : 65534;
        return op;
    }
    // A folder the operator may write: given to "nobody" when that is who runs.
    void Own(const QString &folder) const
    {
        if (Uid) {
            ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), *Uid, Gid), 0) << folder.toStdString();
        }
    }
};

// Sanitizer options name suppression files inside the checkout, which another
// user may not be able to read (a checkout below /root): hand that user copies.
QProcessEnvironment ReadableByOthers(QProcessEnvironment environment)
{
    static const QRegularExpression suppressions(QStringLiteral("suppressions=([^:]+)"));
    for (const char *name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        QString options = environment.value(QLatin1String(name));
        QRegularExpressionMatch m = suppressions.match(options);
        if (!m.hasMatch())
            continue;
        const QString copy = QDir::tempPath()
            + QStringLiteral("/px510-%1-%2.supp").arg(QLatin1String(name)).arg(QCoreApplication::applicationPid());
        QFile::remove(copy);
        if (QFile::copy(m.captured(1), copy)) {
            QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
            options.replace(m.capturedStart(1), m.capturedLength(1), copy);
            environment.insert(QLatin1String(name), options);
        }
    }
    return environment;
}

Finished RunAs(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
               const Operator &as = {})
{
    QProcess process;
    process.setProcessEnvironment(as.Uid ? ReadableByOthers(environment) : environment);
    if (as.Uid) {
        const uid_t uid = *as.Uid;
        const gid_t gid = as.Gid;
        process.setChildProcessModifier([uid, gid] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
                ::_exit(126);
        });
    }
    process.start(program, arguments);
    Finished result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        result.Err = QStringLiteral("did not finish: ") + program;
        return result;
    }
    result.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.Out = QString::fromUtf8(process.readAllStandardOutput());
    result.Err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// "name: value" lines of `--paths`, as text that failures print readably.
using PathList = std::map<std::string, std::string>;
PathList PathLines(const QString &output)
{
    PathList lines;
    for (const QString &line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon > 0)
            lines[line.left(colon).toStdString()] = line.mid(colon + 2).toStdString();
    }
    return lines;
}

std::string Text(const QString &text)
{
    return text.toStdString();
}

// The keys of a desktop entry file.
std::map<QString, QString> DesktopEntry(const QString &file)
{
    std::map<QString, QString> keys;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return keys;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !line.startsWith(QLatin1Char('#')))
            keys[line.left(equals)] = line.mid(equals + 1);
    }
    return keys;
}

QByteArray Digest(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

qint64 RowCount(const QString &database)
{
    TDataManager manager;
    manager.OpenDatabase(database);
    return manager.MainQuery().Count();
}

void SetWritable(const QString &path, bool writable)
{
    const QFile::Permissions write = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    QFile::Permissions modes = QFile::permissions(path);
    QFile::setPermissions(path, writable ? modes | QFile::WriteOwner : modes & ~write);
}

class InstalledPrograms : public ::testing::Test {
protected:
    QTemporaryDir Root;
    QString Prefix; // the program directory, ending in '/'
    QString DataHome;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    QStringList InstallLog;

    void SetUp() override
    {
        ASSERT_TRUE(Root.isValid());
        // Reachable for another user; the temporary folder is private.
        QFile::setPermissions(Root.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                  | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        Prefix = QFileInfo(Root.path()).canonicalFilePath() + QStringLiteral("/opt/px510/");
        const Finished install = RunAs(QStringLiteral(PX510_CMAKE_COMMAND),
                                       {QStringLiteral("--install"), BuildDir, QStringLiteral("--prefix"), Prefix},
                                       Environment);
        ASSERT_EQ(install.ExitCode, 0) << install.Out.toStdString() << install.Err.toStdString();
        InstallLog = install.Out.split(QLatin1Char('\n'));
        PrepareHome(Operator());
    }

    void TearDown() override
    {
        // Writable again, so the temporary folder can go.
        QDirIterator it(Root.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            SetWritable(it.next(), true);
    }

    // The operator's home and data folders, empty.
    void PrepareHome(const Operator &as)
    {
        const QString home = Root.filePath(QStringLiteral("home"));
        DataHome = home + QStringLiteral("/.local/share");
        for (const QString &folder : {home, home + QStringLiteral("/.local"), DataHome,
                                      home + QStringLiteral("/.config"), home + QStringLiteral("/.cache")}) {
            ASSERT_TRUE(QDir().mkpath(folder));
            as.Own(folder);
        }
        Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        Environment.insert(QStringLiteral("HOME"), home);
        Environment.insert(QStringLiteral("XDG_DATA_HOME"), DataHome);
        Environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        Environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    }

    PathList Paths(const QString &program, const Operator &as = {})
    {
        const Finished run = RunAs(Prefix + program, {QStringLiteral("--paths")}, Environment, as);
        EXPECT_EQ(run.ExitCode, 0) << program.toStdString() << ": " << run.Err.toStdString();
        return PathLines(run.Out);
    }
};

TEST_F(InstalledPrograms, FindTheirHelpInTheProgramDirectoryAndKeepTheDatabaseInTheUsersFolder)
{
    for (const char *file : {"corviastation", "corviaview", "px510tool", "px510sim"})
        EXPECT_TRUE(QFileInfo(Prefix + QLatin1String(file)).isExecutable()) << file;
    for (const char *file : {"file/DataViewDB.mdb", "file/Px510.png", "help/px510help.html"})
        EXPECT_TRUE(QFileInfo(Prefix + QLatin1String(file)).isFile()) << file;
    EXPECT_EQ(RowCount(Prefix + QStringLiteral("file/DataViewDB.mdb")), 0) << "an empty database is installed";
    // A plain install writes nothing outside its prefix (the desktop files are a component of their own).
    const QRegularExpression installed(QStringLiteral("^-- (Installing|Up-to-date): (.*)$"));
    int count = 0;
    for (const QString &line : InstallLog) {
        const QRegularExpressionMatch match = installed.match(line);
        if (match.hasMatch()) {
            ++count;
            EXPECT_TRUE(match.captured(2).startsWith(Prefix)) << line.toStdString();
        }
    }
    EXPECT_GE(count, 7);

    // Run by whoever runs the tests (root, as "sudo corviastation" would be):
    // the measurements still go to that user's data folder, never into the
    // installed tree, which the package manager owns.
    const QString shipped = Prefix + QStringLiteral("file/DataViewDB.mdb");
    const QByteArray shippedDigest = Digest(shipped);
    PathList station = Paths(QStringLiteral("corviastation"));
    PathList view = Paths(QStringLiteral("corviaview"));
    for (PathList *paths : {&station, &view}) {
        EXPECT_EQ((*paths)["program folder"], Text(Prefix));
        EXPECT_EQ((*paths)["database"], Text(DataHome + QStringLiteral("/px510/file/DataViewDB.mdb")));
    }
    EXPECT_EQ(station["help"], Text(Prefix + QStringLiteral("help/px510help.html")));
    EXPECT_EQ(view["help"], "(none)") << "corviaview has no help command";
    EXPECT_EQ(Digest(shipped), shippedDigest) << "the installed database stays untouched";
    EXPECT_FALSE(QFileInfo::exists(shipped + QStringLiteral("-wal")));
}

TEST_F(InstalledPrograms, AReadOnlyProgramDirectoryMeansOneCopyInTheUserDataFolderThatTakesMeasurements)
{
    const Operator op = Operator::ForModes();
    PrepareHome(op);
    const QString shipped = Prefix + QStringLiteral("file/DataViewDB.mdb");
    const QByteArray shippedDigest = Digest(shipped);
    QDirIterator it(Prefix, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        SetWritable(it.next(), false);
    SetWritable(Prefix, false);

    const QString copy = DataHome + QStringLiteral("/px510/file/DataViewDB.mdb");
    EXPECT_EQ(Paths(QStringLiteral("corviastation"), op)["database"], Text(copy));
    EXPECT_EQ(Paths(QStringLiteral("corviaview"), op)["database"], Text(copy)) << "both programs share the user's copy";

    // The operator saves a measurement into it, as the record dialog does.
    QString worker = Root.filePath(QStringLiteral("db_save_worker"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(DB_SAVE_WORKER), worker));
    const Finished save = RunAs(worker, {copy, QStringLiteral("A"), QStringLiteral("2")}, Environment, op);
    EXPECT_EQ(save.ExitCode, 0) << save.Err.toStdString();

    EXPECT_EQ(Paths(QStringLiteral("corviastation"), op)["database"], Text(copy));
    EXPECT_EQ(RowCount(copy), 2) << "the copy is made once and keeps what was saved";
    EXPECT_EQ(Digest(shipped), shippedDigest) << "the installed database stays untouched";
    EXPECT_FALSE(QFileInfo::exists(shipped + QStringLiteral("-wal")));
}

TEST_F(InstalledPrograms, TheDesktopComponentAddsEntriesIconsAndLinksIntoTheProgramDirectory)
{
    const QString stage = Root.filePath(QStringLiteral("stage"));
    QProcessEnvironment environment = Environment;
    environment.insert(QStringLiteral("DESTDIR"), stage);
    const Finished install = RunAs(QStringLiteral(PX510_CMAKE_COMMAND),
                                   {QStringLiteral("--install"), BuildDir, QStringLiteral("--prefix"), Prefix,
                                    QStringLiteral("--component"), QStringLiteral("desktop")},
                                   environment);
    ASSERT_EQ(install.ExitCode, 0) << install.Out.toStdString() << install.Err.toStdString();

    for (const char *program : {"corviastation", "corviaview", "px510tool", "px510sim"}) {
        const QFileInfo link(stage + QStringLiteral("/usr/bin/") + QLatin1String(program));
        EXPECT_TRUE(link.isSymLink()) << program;
        EXPECT_EQ(Text(link.symLinkTarget()), Text(Prefix + QLatin1String(program)));
    }
    for (const char *program : {"corviastation", "corviaview"}) {
        const QString entry = stage + QStringLiteral("/usr/share/applications/%1.desktop").arg(QLatin1String(program));
        std::map<QString, QString> keys = DesktopEntry(entry);
        EXPECT_EQ(keys.count(QStringLiteral("Name")), 1u) << entry.toStdString();
        EXPECT_EQ(keys.count(QStringLiteral("Name[zh_CN]")), 1u) << entry.toStdString();
        // What the entry starts and shows is there.
        EXPECT_TRUE(QFileInfo(stage + QStringLiteral("/usr/bin/") + keys[QStringLiteral("Exec")]).isSymLink());
        EXPECT_EQ(Text(keys[QStringLiteral("Icon")]), "px510");
    }
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(stage + QStringLiteral("/usr/share/icons/hicolor/%1x%1/apps/px510.png").arg(side));
        EXPECT_EQ(icon.size(), QSize(side, side)) << side;
    }
}

} // namespace
