// Build step: makes the shipped, empty measurement database from schema.sql.
// Usage: px510makedb <schema.sql> <output file>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "px510makedb: %s\n", qPrintable(message));
    return 1;
}

// The statements of the script: comments dropped, split at a ';' that ends a line.
QStringList statements(const QString &script)
{
    QString text;
    for (QString line : script.split(QLatin1Char('\n'))) {
        qsizetype comment = line.indexOf(QStringLiteral("--"));
        if (comment >= 0)
            line.truncate(comment);
        text += line + QLatin1Char('\n');
    }
    QStringList result;
    for (const QString &part : text.split(QRegularExpression(QStringLiteral(";\\s*\\n")))) {
        if (!part.trimmed().isEmpty())
            result << part.trimmed();
    }
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return fail(QStringLiteral("usage: px510makedb <schema.sql> <output file>"));
    const QString schemaFile = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    QFile schema(schemaFile);
    if (!schema.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(schemaFile));
    const QString script = QString::fromUtf8(schema.readAll());

    // Built beside the target and renamed, so a failed build leaves no half file.
    QDir().mkpath(QFileInfo(output).absolutePath());
    const QString partial = output + QStringLiteral(".part");
    QFile::remove(partial);
    int status = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(partial);
        if (!db.open())
            return fail(db.lastError().text());
        QSqlQuery query(db);
        for (const QString &statement : statements(script)) {
            if (!query.exec(statement)) {
                status = fail(QStringLiteral("%1\n%2").arg(query.lastError().text(), statement));
                break;
            }
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
    if (status != 0) {
        QFile::remove(partial);
        return status;
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output))
        return fail(QStringLiteral("cannot write %1").arg(output));
    return 0;
}
