#pragma once
// The measurement database as the data manager window uses it: the
// connection, the record list (MainQuery), the look-ups (LookupQuery), the
// save of a measurement as a row, and loading a row into a measurement. No
// window code: the questions go through Dialogs.

#include "database/DatabaseConnection.h"
#include "database/RecordMapping.h"
#include "database/RecordView.h"

#include <QString>
#include <memory>
#include <optional>

class Dialogs;
class TMeasurement;

// The descriptive columns of a stored row; empty where the column is null.
// DateTime is the storage text (null when the time is unknown).
struct StoredTexts {
    std::optional<QString> Id, WorkName, Operator, Remark;
    QVariant DateTime;
};

class TDataManager {
public:
    TDataManager();
    ~TDataManager();
    TDataManager(const TDataManager &) = delete;
    TDataManager &operator=(const TDataManager &) = delete;

    // Opens the file and shows all rows. On DatabaseError the database stays
    // closed and the list empty.
    void OpenDatabase(const QString &fileName);
    bool IsOpen() const { return Connection.IsOpen(); }
    TDatabaseConnection &Database() { return Connection; }
    TRecordView &MainQuery() { return View; }
    TMeasurement &PreviewSession() { return *Preview; }

    // --- look-ups -------------------------------------------------------------
    // IDs are compared without regard to case: "a001" is the record A001.
    // AutoID of the row carrying `id` (the lowest when several do).
    std::optional<qint64> FindId(const QString &id);
    bool IdExists(const QString &id) { return FindId(id).has_value(); }
    // A usable new ID: the highest stored one increased, skipping IDs in use.
    QString SuggestNextId();
    // The row a measurement was loaded from, by its ID.
    std::optional<StoredTexts> LookupById(const QString &id);
    // The first row measured within 20 seconds of `measureTime`, both ends included.
    std::optional<StoredTexts> LookupByMeasureTime(double measureTime);
    // The row with this AutoID; none for 0 or a row that has gone.
    std::optional<StoredTexts> LookupByAutoId(qint64 autoId);

    // --- save and load --------------------------------------------------------
    // Stores the measurement with the texts: asks to add when no row
    // has the ID, to modify when one has. An update keeps the stored remark
    // unless texts.RemarkTyped. Returns -1 when declined, 1 for a new row, 0
    // for an updated one; the measurement's RecordAutoId then names the row. One
    // transaction; the list is run again and its first row becomes current.
    int SaveMeasurementRecord(Dialogs &dialogs, TMeasurement &measurement, const RecordTexts &texts);
    // The current row's measurement into `measurement`, whose RecordAutoId then
    // names the row; false, and nothing changes, when the row carries none.
    // RecordError for a damaged record.
    bool LoadCurrentRecord(TMeasurement &measurement);
    // The current row into PreviewSession.
    bool PreviewRecord() { return LoadCurrentRecord(*Preview); }

private:
    TDatabaseConnection Connection;
    TRecordView View;
    std::unique_ptr<TMeasurement> Preview;

    // The first row, in AutoID order, that meets the condition.
    std::optional<StoredTexts> FirstTexts(const QString &condition, const TDatabaseConnection::Bindings &bindings);
    qint64 CountId(const QString &id);
};
