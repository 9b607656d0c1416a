#pragma once
// One connection to the measurement database file. The file must exist and
// hold table Data: the program never creates either. Two running programs may
// share the file; a writer waits for the other one instead of failing.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

class TDatabaseConnection {
public:
    TDatabaseConnection();
    ~TDatabaseConnection();
    TDatabaseConnection(const TDatabaseConnection &) = delete;
    TDatabaseConnection &operator=(const TDatabaseConnection &) = delete;

    // Opens the file and checks that it is a measurement database. Throws
    // DatabaseError naming the file; the file is left as it was and the
    // connection stays closed.
    void Open(const QString &fileName);
    void Close();
    bool IsOpen() const { return Opened; }
    QString FileName() const { return File; }

    // Named parameters, without the leading colon.
    using Bindings = std::vector<std::pair<QString, QVariant>>;
    // Prepares and runs one statement with named parameters; throws
    // DatabaseError when the database is not open or refuses the statement.
    QSqlQuery Run(const QString &statement, const Bindings &bindings = {});

    // A transaction that rolls back unless committed.
    class Transaction {
    public:
        explicit Transaction(TDatabaseConnection &connection);
        ~Transaction();
        void Commit();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;

    private:
        TDatabaseConnection &Connection;
        bool Done = false;
    };

    static constexpr int BusyTimeoutMs = 10000;

private:
    QSqlDatabase Db;
    QString Name;
    QString File;
    bool Opened = false;

    void RequireOpen() const;
};
