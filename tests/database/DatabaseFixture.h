#pragma once
// A fresh copy of the shipped, empty database in a temporary folder, and
// measurements to store in it.

#include "Measurements.h"

#include "database/DataManager.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline QString shippedDatabase()
{
    return QStringLiteral(PX510_PROGRAM_DIR "/file/DataViewDB.mdb");
}

class DatabaseTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString File;
    TDataManager Manager;

    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        File = Dir.filePath(QStringLiteral("DataViewDB.mdb"));
        ASSERT_TRUE(QFile::copy(shippedDatabase(), File)) << "the build makes the shipped database";
        QFile::setPermissions(File, QFile::permissions(File) | QFile::WriteOwner);
        Manager.OpenDatabase(File);
    }

    // One statement on the manager's connection; the first value of the first row.
    QVariant scalar(const QString &statement)
    {
        QSqlQuery q = Manager.Database().Run(statement);
        return q.next() ? q.value(0) : QVariant();
    }
    qint64 rowCount() { return scalar(QStringLiteral("select count(*) from Data")).toLongLong(); }

    // A row inserted directly, as another program (or an older one) might leave it.
    void insertRow(const QString &id, double measured, const QString &workName = {}, const QString &op = {})
    {
        Manager.Database().Run(QStringLiteral("insert into Data (ID, WorkName, Operator, DateTime) "
                                              "values (:id, :w, :o, :t)"),
                               {{QStringLiteral("id"), id},
                                {QStringLiteral("w"), workName.isNull() ? QVariant() : QVariant(workName)},
                                {QStringLiteral("o"), op.isNull() ? QVariant() : QVariant(op)},
                                {QStringLiteral("t"), DateTimeText::storageText(measured)}});
    }
};
