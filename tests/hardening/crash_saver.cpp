// Saves measurements in an endless loop until it is killed; the crash-safety
// test kills it at random moments.
//   crash_saver file <file>             measurement A, then B, then A ... into <file>
//   crash_saver record <database> <run> in turn A and B as the row with ID "K1",
//                                       and each time a new row "<run>-<n>"
// Prints "ready" once the first save is complete.

#include "CrashVersions.h"
#include "ScriptedDialogs.h"

#include "common/Errors.h"
#include "database/DataManager.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace {

void ready(long saves)
{
    if (saves == 1) {
        std::puts("ready");
        std::fflush(stdout);
    }
}

[[noreturn]] void saveFiles(const QString &fileName)
{
    TMeasurement versions[2];
    makeVersion(versions[0], 0);
    makeVersion(versions[1], 1);
    for (long n = 1;; ++n) {
        versions[n % 2].SaveMeasurementFile(fileName);
        ready(n);
    }
}

[[noreturn]] void saveRecords(const QString &database, const QString &run)
{
    TDataManager manager;
    manager.OpenDatabase(database);
    TMeasurement versions[2];
    makeVersion(versions[0], 0);
    makeVersion(versions[1], 1);
    ScriptedDialogs dialogs;
    for (long n = 1;; ++n) {
        const int version = int(n % 2);
        for (const QString &id : {QStringLiteral("K1"), run + QLatin1Char('-') + QString::number(n)}) {
            dialogs.YesNoAnswers = {true};
            manager.SaveMeasurementRecord(dialogs, versions[version], {id, versionName(version), {}, {}});
        }
        ready(n);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    try {
        if (argc == 3 && std::strcmp(argv[1], "file") == 0)
            saveFiles(QString::fromLocal8Bit(argv[2]));
        if (argc == 4 && std::strcmp(argv[1], "record") == 0)
            saveRecords(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    } catch (const PX510Error &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: crash_saver file <file> | record <database> <run>\n");
    return 2;
}
