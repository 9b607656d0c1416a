#include "database/DataManager.h"

#include "common/DateTimeText.h"
#include "common/Dialogs.h"
#include "common/Errors.h"
#include "database/NextId.h"
#include "measurement/Measurement.h"

#include <QStringList>

#include <cmath>

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kPrefillWindow = 20 * kSecond;

// IDs match as the operator reads them, whatever the case of the letters.
const QString kSameId = QStringLiteral("lower(ID) = lower(:t1)");
const QString kStoredColumns = QStringLiteral("select ID, WorkName, Operator, other, DateTime from Data where ");

} // namespace

TDataManager::TDataManager() : View(Connection), Preview(std::make_unique<TMeasurement>()) {}

TDataManager::~TDataManager() = default;

void TDataManager::OpenDatabase(const QString &fileName)
{
    View.Reset();
    Connection.Open(fileName);
    View.ShowAll();
}

std::optional<qint64> TDataManager::FindId(const QString &id)
{
    QSqlQuery query = Connection.Run(QStringLiteral("select AutoID from Data where ") + kSameId
                                         + QStringLiteral(" order by AutoID"),
                                     {{QStringLiteral("t1"), RecordMapping::NonNull(id)}});
    if (!query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

QString TDataManager::SuggestNextId()
{
    QStringList ids;
    {
        QSqlQuery query = Connection.Run(QStringLiteral("select ID from Data where ID is not null"));
        while (query.next())
            ids << query.value(0).toString();
    }
    return NextId::Suggest(ids, [this](const QString &id) { return IdExists(id); });
}

std::optional<StoredTexts> TDataManager::FirstTexts(const QString &condition,
                                                    const TDatabaseConnection::Bindings &bindings)
{
    QSqlQuery query = Connection.Run(kStoredColumns + condition + QStringLiteral(" order by AutoID"), bindings);
    if (!query.next())
        return std::nullopt;
    auto text = [&](int column) -> std::optional<QString> {
        if (query.isNull(column))
            return std::nullopt;
        return query.value(column).toString();
    };
    return StoredTexts{text(0), text(1), text(2), text(3), query.value(4)};
}

std::optional<StoredTexts> TDataManager::LookupById(const QString &id)
{
    return FirstTexts(kSameId, {{QStringLiteral("t1"), RecordMapping::NonNull(id)}});
}

std::optional<StoredTexts> TDataManager::LookupByMeasureTime(double measureTime)
{
    if (!std::isfinite(measureTime))
        return std::nullopt; // a record whose time is unknown was measured at no known moment
    return FirstTexts(QStringLiteral("DateTime between :t1 and :t2"),
                      {{QStringLiteral("t1"), DateTimeText::storageText(measureTime - kPrefillWindow)},
                       {QStringLiteral("t2"), DateTimeText::storageText(measureTime + kPrefillWindow)}});
}

std::optional<StoredTexts> TDataManager::LookupByAutoId(qint64 autoId)
{
    if (autoId == 0 || !Connection.IsOpen())
        return std::nullopt;
    return FirstTexts(QStringLiteral("AutoID = :t1"), {{QStringLiteral("t1"), autoId}});
}

int TDataManager::SaveMeasurementRecord(Dialogs &dialogs, TMeasurement &measurement, const RecordTexts &texts)
{
    RecordMapping::CheckTextWidths(texts);
    const std::optional<qint64> existing = FindId(texts.Id);
    const QString question = existing ? QStringLiteral("该记录ID已经存在，请确认是否要修改？")
                                      : QStringLiteral("将在数据库中添加新记录，请确认是否要添加？");
    if (!dialogs.AskYesNo(QStringLiteral("提示"), question))
        return -1;
    if (View.Editing())
        View.Post();

    // The remark of a record saved over stays unless a new one was typed.
    const TDatabaseConnection::Bindings columns = RecordMapping::SavedColumns(measurement, texts, DateTimeText::now(),
                                                                              !existing || texts.RemarkTyped);
    QStringList names, placeholders, assignments;
    for (const auto &column : columns) {
        names << column.first;
        placeholders << QLatin1Char(':') + column.first;
        assignments << column.first + QStringLiteral(" = :") + column.first;
    }

    // The write comes first in the transaction: it waits for another program
    // that is writing, and the check after it sees that program's rows.
    TDatabaseConnection::Transaction transaction(Connection);
    qint64 saved = existing.value_or(0);
    if (existing) {
        TDatabaseConnection::Bindings bindings = columns;
        bindings.emplace_back(QStringLiteral("autoid"), *existing);
        const int updated = Connection
                                .Run(QStringLiteral("update Data set ") + assignments.join(QStringLiteral(", "))
                                         + QStringLiteral(" where AutoID = :autoid"),
                                     bindings)
                                .numRowsAffected();
        if (updated != 1)
            throw DatabaseError(QStringLiteral("记录“%1”已被删除，未能修改。").arg(texts.Id));
    } else {
        QSqlQuery insert = Connection.Run(QStringLiteral("insert into Data (") + names.join(QStringLiteral(", "))
                                              + QStringLiteral(") values (") + placeholders.join(QStringLiteral(", "))
                                              + QStringLiteral(") returning AutoID"),
                                          columns);
        if (!insert.next())
            throw DatabaseError(QStringLiteral("数据库未返回新记录的编号，未能添加。"));
        saved = insert.value(0).toLongLong();
        insert.finish();
        if (CountId(texts.Id) > 1)
            throw DatabaseError(QStringLiteral("该记录ID“%1”刚被另一程序保存，未能添加。").arg(texts.Id));
    }
    transaction.Commit();
    // The measurement on screen is now this record.
    measurement.RecordAutoId = saved;
    View.Requery();
    return existing ? 0 : 1;
}

qint64 TDataManager::CountId(const QString &id)
{
    QSqlQuery query = Connection.Run(QStringLiteral("select count(*) from Data where ") + kSameId,
                                     {{QStringLiteral("t1"), RecordMapping::NonNull(id)}});
    return query.next() ? query.value(0).toLongLong() : 0;
}

bool TDataManager::LoadCurrentRecord(TMeasurement &measurement)
{
    const QByteArray record = View.CurrentRecord();
    if (record.isNull())
        return false;
    measurement.LoadMeasurementStream(record);
    measurement.RecordAutoId = View.CurrentAutoId();
    return true;
}
