// Two programs saving into the same database file at the same time.

#include "DatabaseFixture.h"

#include <QProcess>

TEST_F(DatabaseTest, TwoProgramsSaving200RecordsEachLoseNothing)
{
    QProcess first, second;
    for (QProcess *p : {&first, &second})
        p->setProcessChannelMode(QProcess::SeparateChannels);
    first.start(QStringLiteral(DB_SAVE_WORKER), {File, QStringLiteral("P"), QStringLiteral("200")});
    second.start(QStringLiteral(DB_SAVE_WORKER), {File, QStringLiteral("Q"), QStringLiteral("200")});
    for (QProcess *p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    EXPECT_EQ(rowCount(), 400);
    EXPECT_EQ(scalar(QStringLiteral("select count(distinct ID) from Data")).toInt(), 400);
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}
