#include "database/RecordView.h"

#include "common/DateTimeText.h"
#include "common/Errors.h"
#include "database/RecordMapping.h"

#include <algorithm>

namespace {

const char *columnName(RecordField field)
{
    switch (field) {
    case RecordField::Id: return "ID";
    case RecordField::WorkName: return "WorkName";
    case RecordField::Operator: return "Operator";
    case RecordField::DateTime: return "DateTime";
    case RecordField::EditDateTime: return "EditDateTime";
    case RecordField::Remark: return "other";
    }
    return "ID";
}

QString caption(RecordField field)
{
    switch (field) {
    case RecordField::Id: return QStringLiteral("编号");
    case RecordField::WorkName: return QStringLiteral("工件名称");
    case RecordField::Operator: return QStringLiteral("操作者");
    case RecordField::DateTime: return QStringLiteral("创建日期");
    case RecordField::EditDateTime: return QStringLiteral("修改日期");
    case RecordField::Remark: return QStringLiteral("备注");
    }
    return {};
}

bool isDate(RecordField field)
{
    return field == RecordField::DateTime || field == RecordField::EditDateTime;
}

QVariant &rowColumn(RecordRow &row, RecordField field)
{
    switch (field) {
    case RecordField::WorkName: return row.WorkName;
    case RecordField::Operator: return row.Operator;
    case RecordField::DateTime: return row.DateTime;
    case RecordField::EditDateTime: return row.EditDateTime;
    default: return row.Id;
    }
}

// A prefix for LIKE: the text itself, its wildcards escaped, then any rest.
QString prefixPattern(const QString &prefix)
{
    QString pattern;
    for (QChar c : prefix) {
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            pattern += QLatin1Char('!');
        pattern += c;
    }
    return pattern + QLatin1Char('%');
}

const QString kShownColumns = QStringLiteral("AutoID, ID, WorkName, Operator, DateTime, EditDateTime");

} // namespace

TRecordView::TRecordView(TDatabaseConnection &connection, QObject *parent) : QObject(parent), Connection(connection) {}

QString TRecordView::RangeCondition() const
{
    return Range ? QStringLiteral(" and DateTime between :t1 and :t2") : QString();
}

void TRecordView::BindRange(TDatabaseConnection::Bindings &bindings) const
{
    if (Range) {
        bindings.emplace_back(QStringLiteral("t1"), Range->from);
        bindings.emplace_back(QStringLiteral("t2"), Range->to);
    }
}

void TRecordView::ShowAll()
{
    if (Editing())
        Post();
    Range.reset();
    Run();
}

void TRecordView::ShowDateRange(double from, double to)
{
    if (Editing())
        Post();
    Range = DateRange{DateTimeText::storageText(from), DateTimeText::storageText(to)};
    Run();
}

void TRecordView::Requery()
{
    if (Editing())
        Post();
    Run();
}

void TRecordView::Reset()
{
    Range.reset();
    Forget();
    emit ViewReset();
    emit CurrentChanged();
}

void TRecordView::Forget()
{
    AutoIds.clear();
    Pages.clear();
    Pending.clear();
    Current = -1;
    RemarkOf = 0;
    Remark = QVariant();
}

void TRecordView::Run()
{
    QString statement = QStringLiteral("select AutoID from Data");
    TDatabaseConnection::Bindings bindings;
    if (Range) {
        statement += QStringLiteral(" where DateTime between :t1 and :t2");
        BindRange(bindings);
    }
    statement += QStringLiteral(" order by AutoID");
    QSqlQuery query = Connection.Run(statement, bindings);
    std::vector<qint64> ids;
    while (query.next())
        ids.push_back(query.value(0).toLongLong());

    Forget();
    AutoIds = std::move(ids);
    Pages.resize((AutoIds.size() + PageSize - 1) / PageSize);
    Current = AutoIds.empty() ? -1 : 0;
    emit ViewReset();
    emit CurrentChanged();
}

void TRecordView::LoadPage(size_t page)
{
    const size_t begin = page * PageSize;
    const size_t end = std::min(AutoIds.size(), begin + PageSize);
    std::vector<RecordRow> rows(end - begin);
    for (size_t i = begin; i < end; ++i)
        rows[i - begin].AutoId = AutoIds[i];

    // The rows of the view between the page's first and last AutoID are
    // exactly the rows of the page.
    TDatabaseConnection::Bindings bindings{{QStringLiteral("first"), AutoIds[begin]},
                                           {QStringLiteral("last"), AutoIds[end - 1]}};
    BindRange(bindings);
    QSqlQuery query = Connection.Run(QStringLiteral("select ") + kShownColumns
                                         + QStringLiteral(" from Data where AutoID between :first and :last")
                                         + RangeCondition() + QStringLiteral(" order by AutoID"),
                                     bindings);
    auto first = AutoIds.begin() + qsizetype(begin), last = AutoIds.begin() + qsizetype(end);
    while (query.next()) {
        auto it = std::lower_bound(first, last, query.value(0).toLongLong());
        if (it == last || *it != query.value(0).toLongLong())
            continue;
        RecordRow &row = rows[size_t(it - first)];
        row.Id = query.value(1);
        row.WorkName = query.value(2);
        row.Operator = query.value(3);
        row.DateTime = query.value(4);
        row.EditDateTime = query.value(5);
        row.Missing = false;
    }
    Pages[page] = std::move(rows);
}

RecordRow &TRecordView::CachedRow(int index)
{
    const size_t page = size_t(index) / PageSize;
    if (Pages[page].empty())
        LoadPage(page);
    return Pages[page][size_t(index) % PageSize];
}

const RecordRow &TRecordView::Row(int index)
{
    return CachedRow(index);
}

int TRecordView::IndexOf(qint64 autoId) const
{
    auto it = std::lower_bound(AutoIds.begin(), AutoIds.end(), autoId);
    return it != AutoIds.end() && *it == autoId ? int(it - AutoIds.begin()) : -1;
}

void TRecordView::SetCurrent(int index)
{
    if (index == Current)
        return;
    Current = index;
    emit CurrentChanged();
}

void TRecordView::MoveTo(int index)
{
    if (AutoIds.empty())
        return;
    index = std::clamp(index, 0, Count() - 1);
    if (index == Current)
        return;
    if (Editing())
        Post();
    SetCurrent(index);
}

QVariant TRecordView::Value(RecordField field)
{
    if (!HasCurrent())
        return {};
    if (auto it = Pending.find(field); it != Pending.end())
        return it->second;
    if (field != RecordField::Remark)
        return rowColumn(CachedRow(Current), field);
    if (RemarkOf != CurrentAutoId()) {
        QSqlQuery query = Connection.Run(QStringLiteral("select other from Data where AutoID = :id"),
                                         {{QStringLiteral("id"), CurrentAutoId()}});
        Remark = query.next() ? query.value(0) : QVariant();
        RemarkOf = CurrentAutoId();
    }
    return Remark;
}

void TRecordView::SetValue(RecordField field, const QVariant &value)
{
    if (!HasCurrent())
        throw DatabaseError(QStringLiteral("没有当前记录。"));
    QVariant stored = value;
    if (isDate(field) && !value.isNull())
        stored = DateTimeText::storageText(value.toDouble());
    else if (!isDate(field))
        stored = RecordMapping::NonNull(value.toString());
    Pending[field] = stored;
    emit RowChanged(Current);
}

void TRecordView::Post()
{
    if (!Editing())
        return;
    QStringList assignments;
    TDatabaseConnection::Bindings bindings;
    for (const auto &[field, value] : Pending) {
        if (field == RecordField::Id || field == RecordField::WorkName || field == RecordField::Operator)
            RecordMapping::CheckTextWidth(caption(field), value.toString());
        const QString column = QString::fromLatin1(columnName(field)).toLower();
        assignments << column + QStringLiteral(" = :") + column;
        bindings.emplace_back(column, value);
    }
    bindings.emplace_back(QStringLiteral("autoid"), CurrentAutoId());
    Connection.Run(QStringLiteral("update Data set ") + assignments.join(QStringLiteral(", "))
                       + QStringLiteral(" where AutoID = :autoid"),
                   bindings);

    RecordRow &row = CachedRow(Current);
    for (const auto &[field, value] : Pending) {
        if (field == RecordField::Remark) {
            Remark = value;
            RemarkOf = row.AutoId;
        } else {
            rowColumn(row, field) = value;
        }
    }
    Pending.clear();
    emit RowChanged(Current);
}

void TRecordView::Cancel()
{
    if (!Editing())
        return;
    Pending.clear();
    emit RowChanged(Current);
}

void TRecordView::DeleteCurrent()
{
    if (!HasCurrent())
        return;
    Connection.Run(QStringLiteral("delete from Data where AutoID = :id"), {{QStringLiteral("id"), CurrentAutoId()}});
    // The pages after the deleted row shift by one: read them again when asked.
    const int index = Current;
    std::vector<qint64> ids = std::move(AutoIds);
    ids.erase(ids.begin() + index);
    Forget();
    AutoIds = std::move(ids);
    Pages.resize((AutoIds.size() + PageSize - 1) / PageSize);
    Current = AutoIds.empty() ? -1 : std::min(index, Count() - 1);
    emit ViewReset();
    emit CurrentChanged();
}

void TRecordView::DeleteAll()
{
    Pending.clear();
    if (!AutoIds.empty()) {
        // Rows added later by another program have higher AutoIDs and survive.
        TDatabaseConnection::Bindings bindings{{QStringLiteral("first"), AutoIds.front()},
                                               {QStringLiteral("last"), AutoIds.back()}};
        BindRange(bindings);
        TDatabaseConnection::Transaction transaction(Connection);
        Connection.Run(QStringLiteral("delete from Data where AutoID between :first and :last") + RangeCondition(),
                       bindings);
        transaction.Commit();
    }
    Forget();
    emit ViewReset();
    emit CurrentChanged();
}

bool TRecordView::Locate(RecordField field, const QString &prefix)
{
    if (AutoIds.empty() || isDate(field) || field == RecordField::Remark)
        return false;
    if (Editing())
        Post();
    const QString column = QString::fromLatin1(columnName(field));
    TDatabaseConnection::Bindings bindings{{QStringLiteral("pattern"), prefixPattern(prefix)},
                                           {QStringLiteral("first"), AutoIds.front()},
                                           {QStringLiteral("last"), AutoIds.back()}};
    BindRange(bindings);
    QSqlQuery query = Connection.Run(QStringLiteral("select AutoID from Data where lower(") + column
                                         + QStringLiteral(") like lower(:pattern) escape '!'"
                                                          " and AutoID between :first and :last")
                                         + RangeCondition() + QStringLiteral(" order by AutoID"),
                                     bindings);
    while (query.next()) {
        int index = IndexOf(query.value(0).toLongLong());
        if (index >= 0) {
            query.finish();
            MoveTo(index);
            return true;
        }
    }
    return false;
}

QByteArray TRecordView::CurrentRecord()
{
    if (!HasCurrent())
        return {};
    QSqlQuery query = Connection.Run(QStringLiteral("select data from Data where AutoID = :id"),
                                     {{QStringLiteral("id"), CurrentAutoId()}});
    if (!query.next() || query.isNull(0))
        return {};
    QByteArray record = query.value(0).toByteArray();
    return record.isEmpty() ? QByteArray() : record;
}
