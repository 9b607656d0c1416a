// Saves a number of measurements into a database file, answering every
// question with Yes; run twice at once by the concurrency test.
// Usage: db_save_worker <database file> <ID prefix> <count>

#include "Measurements.h"
#include "ScriptedDialogs.h"

#include "common/Errors.h"
#include "database/DataManager.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = QString::fromLocal8Bit(argv[3]).toInt();
    try {
        TDataManager manager;
        manager.OpenDatabase(QString::fromLocal8Bit(argv[1]));
        TMeasurement session;
        ScriptedDialogs dialogs;
        for (int i = 0; i < count; ++i) {
            makeMeasurement(session, i);
            dialogs.YesNoAnswers = {true};
            const RecordTexts texts{prefix + QString::number(i), QStringLiteral("工件"), QStringLiteral("并发"), {}};
            if (manager.SaveMeasurementRecord(dialogs, session, texts) != 1) {
                std::fprintf(stderr, "save %d was not an append\n", i);
                return 1;
            }
        }
    } catch (const PX510Error &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
