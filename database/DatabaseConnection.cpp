#include "database/DatabaseConnection.h"

#include "common/Errors.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>

namespace {

QString uniqueConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("px510-measurements-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString errorText(const QSqlError &error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text;
}

// Every column the program reads or writes: a file without them is not ours.
const char *const kProbe = "select AutoID, ID, WorkName, Operator, other, DateTime, EditDateTime, Ra, Rq, Rz, R3z, "
                           "Ryi, Ryd, Rt, Rp, Rv, RS, RSm, RSk, unitsystem, Cutoff, Access, Stander, Range, Filter, "
                           "RealRange, RealCutoff, data, iunitsystem, icutoff, iaccess, istander, irange, ifilter, "
                           "irealrange, irealcutoff from Data where 1 = 0";

} // namespace

TDatabaseConnection::TDatabaseConnection() : Name(uniqueConnectionName()) {}

TDatabaseConnection::~TDatabaseConnection()
{
    Close();
}

void TDatabaseConnection::Open(const QString &fileName)
{
    Close();
    QFileInfo info(fileName);
    if (!info.isFile())
        throw DatabaseError(QStringLiteral("找不到数据库文件：%1").arg(fileName));

    Db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Name);
    // mode=rw: SQLite must not create a file that has gone missing meanwhile.
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    Db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    Db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));

    auto fail = [&](const QString &reason) {
        Db = QSqlDatabase();
        QSqlDatabase::removeDatabase(Name);
        throw DatabaseError(QStringLiteral("无法打开数据库文件 %1：%2").arg(fileName, reason));
    };
    if (!Db.open())
        fail(errorText(Db.lastError()));
    {
        // The probe reads the header and the table before anything could be
        // written, so a foreign or damaged file is refused untouched.
        QSqlQuery probe(Db);
        if (!probe.exec(QString::fromLatin1(kProbe)))
            fail(errorText(probe.lastError()));
        probe.finish();
        // An open list never blocks a writer of the other program.
        QSqlQuery wal(Db);
        if (!wal.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
            fail(errorText(wal.lastError()));
    }
    File = fileName;
    Opened = true;
}

void TDatabaseConnection::Close()
{
    if (Db.isValid()) {
        Db.close();
        Db = QSqlDatabase();
        QSqlDatabase::removeDatabase(Name);
    }
    Opened = false;
}

void TDatabaseConnection::RequireOpen() const
{
    if (!Opened)
        throw DatabaseError(QStringLiteral("数据库未打开。"));
}

QSqlQuery TDatabaseConnection::Run(const QString &statement, const Bindings &bindings)
{
    RequireOpen();
    QSqlQuery query(Db);
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        throw DatabaseError(QStringLiteral("数据库错误：%1").arg(errorText(query.lastError())));
    for (const auto &[name, value] : bindings)
        query.bindValue(QLatin1Char(':') + name, value);
    if (!query.exec())
        throw DatabaseError(QStringLiteral("数据库错误：%1").arg(errorText(query.lastError())));
    return query;
}

TDatabaseConnection::Transaction::Transaction(TDatabaseConnection &connection) : Connection(connection)
{
    Connection.RequireOpen();
    if (!Connection.Db.transaction())
        throw DatabaseError(QStringLiteral("数据库错误：%1").arg(errorText(Connection.Db.lastError())));
}

TDatabaseConnection::Transaction::~Transaction()
{
    if (!Done)
        Connection.Db.rollback();
}

void TDatabaseConnection::Transaction::Commit()
{
    if (!Connection.Db.commit())
        throw DatabaseError(QStringLiteral("数据库错误：%1").arg(errorText(Connection.Db.lastError())));
    Done = true;
}
