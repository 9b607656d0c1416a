#pragma once
// How a measurement becomes a row of table Data: the descriptive texts from
// the record dialog, the measurement's results, labels and codes, and the
// measurement record itself in column data.

#include "database/DatabaseConnection.h"

#include <QString>

class TMeasurement;

// The descriptive texts a person types for a record.
struct RecordTexts {
    QString Id;
    QString WorkName;
    QString Operator;
    QString Remark;
    // The remark was typed for this save: it replaces a stored one. Otherwise
    // saving over an existing record keeps that record's remark.
    bool RemarkTyped = true;
};

namespace RecordMapping {

// Characters the ID, WorkName and Operator columns hold.
constexpr int TextColumnWidth = 50;

// Empty text, never null: a bound null QString would store or compare as SQL
// null, and "ID = null" matches nothing.
inline QString NonNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Throws DatabaseError naming the field when one of the three short texts is
// longer than its column; nothing is written then.
void CheckTextWidths(const RecordTexts &texts);
void CheckTextWidth(const QString &caption, const QString &text);

// The columns of a saved row in the order they are written, each with its
// value: measurement time (null when unknown), time of saving, results,
// labels, codes, the texts and the record. RealRange, RealCutoff, irealrange,
// irealcutoff are never written; "other" only when the remark is to be written.
TDatabaseConnection::Bindings SavedColumns(TMeasurement &measurement, const RecordTexts &texts, double savedAt,
                                           bool writeRemark = true);

} // namespace RecordMapping
