#pragma once
// The record list of the data manager: the rows of table Data that the
// current statement selects (all rows, or those measured within a date range),
// in the order of AutoID, with one current row that can be edited, posted,
// cancelled and deleted.
//
// The view keeps only the AutoIDs of its rows. The shown columns are read in
// pages when a row is first asked for, the remark and the measurement record
// only for the current row, so a large table opens quickly and the records
// never sit in memory.

#include "database/DatabaseConnection.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

#include <map>
#include <optional>
#include <vector>

enum class RecordField { Id, WorkName, Operator, DateTime, EditDateTime, Remark };

// The columns of a row the list shows. Date-times are storage texts.
struct RecordRow {
    qint64 AutoId = 0;
    QVariant Id, WorkName, Operator, DateTime, EditDateTime;
    bool Missing = true; // deleted by another program since the view was run
};

class TRecordView : public QObject {
    Q_OBJECT
public:
    static constexpr int PageSize = 256;

    explicit TRecordView(TDatabaseConnection &connection, QObject *parent = nullptr);

    // The statements. Each runs at once; pending edits are posted before and
    // the first row becomes current.
    void ShowAll();
    void ShowDateRange(double from, double to); // both ends included
    void Requery();                             // the same statement again
    void Reset();                               // no rows (database closed)
    bool Filtered() const { return Range.has_value(); }

    int Count() const { return int(AutoIds.size()); }
    // Index of the current row, -1 when the view is empty.
    int RecordNo() const { return Current; }
    bool HasCurrent() const { return Current >= 0; }
    qint64 CurrentAutoId() const { return HasCurrent() ? AutoIds[size_t(Current)] : 0; }

    // Moving posts the pending edits of the current row first.
    void MoveTo(int index);
    void First() { MoveTo(0); }
    void Prior() { MoveTo(Current - 1); }
    void Next() { MoveTo(Current + 1); }
    void Last() { MoveTo(Count() - 1); }

    const RecordRow &Row(int index);

    // A column of the current row, with its pending edit; null without a row.
    QVariant Value(RecordField field);
    // Puts the current row into edit mode. Date-times take a double (days
    // since 1899-12-30) or null, the other fields text.
    void SetValue(RecordField field, const QVariant &value);
    bool Editing() const { return !Pending.empty(); }
    // Stores the pending edits; DatabaseError when a text is too long or the
    // database refuses. The edits stay pending after a failure.
    void Post();
    void Cancel();

    void DeleteCurrent();
    // Deletes every row of the view, and only those.
    void DeleteAll();

    // Makes the first row, in view order, whose column starts with `prefix`
    // (case ignored) current. False, and nothing moves, when none does.
    bool Locate(RecordField field, const QString &prefix);

    // The measurement record of the current row; a null array when the row
    // carries none.
    QByteArray CurrentRecord();

signals:
    void ViewReset();         // the rows changed: a statement ran or rows were deleted
    void CurrentChanged();    // another row became current
    void RowChanged(int row); // columns of a row changed (edit, post, cancel)

private:
    struct DateRange {
        QString from, to;
    };

    TDatabaseConnection &Connection;
    std::optional<DateRange> Range;
    std::vector<qint64> AutoIds;
    std::vector<std::vector<RecordRow>> Pages;
    int Current = -1;
    std::map<RecordField, QVariant> Pending;
    qint64 RemarkOf = 0; // AutoID whose remark is cached
    QVariant Remark;

    void Run();
    QString RangeCondition() const;
    void BindRange(TDatabaseConnection::Bindings &bindings) const;
    void LoadPage(size_t page);
    RecordRow &CachedRow(int index);
    int IndexOf(qint64 autoId) const;
    void SetCurrent(int index);
    void Forget();
};
