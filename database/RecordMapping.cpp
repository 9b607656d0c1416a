#include "database/RecordMapping.h"

#include "common/DateTimeText.h"
#include "common/Errors.h"
#include "measurement/Measurement.h"

namespace RecordMapping {

void CheckTextWidth(const QString &caption, const QString &text)
{
    if (text.size() > TextColumnWidth)
        throw DatabaseError(
            QStringLiteral("%1过长：最多%2个字符，现有%3个。").arg(caption).arg(TextColumnWidth).arg(text.size()));
}

void CheckTextWidths(const RecordTexts &texts)
{
    CheckTextWidth(QStringLiteral("编号"), texts.Id);
    CheckTextWidth(QStringLiteral("工件名称"), texts.WorkName);
    CheckTextWidth(QStringLiteral("操作者"), texts.Operator);
}

TDatabaseConnection::Bindings SavedColumns(TMeasurement &measurement, const RecordTexts &texts, double savedAt,
                                           bool writeRemark)
{
    TDatabaseConnection::Bindings columns;
    columns.emplace_back(QStringLiteral("datetime"),
                         measurement.MeasureTimeKnown() ? QVariant(DateTimeText::storageText(measurement.MeasureTime))
                                                        : QVariant());
    columns.emplace_back(QStringLiteral("editdatetime"), DateTimeText::storageText(savedAt));

    const char *const valueColumns[] = {"ra", "rq", "rz", "r3z", "ryi", "ryd", "rt", "rp", "rv", "rs", "rsm", "rsk"};
    auto parameters = measurement.InstrumentParams.InReportOrder();
    for (size_t i = 0; i < parameters.size(); ++i)
        columns.emplace_back(QString::fromLatin1(valueColumns[i]), parameters[i]->ParamValue);

    // A code outside its table leaves the label empty.
    auto label = [&](const char *column, void (TMeasurement::*text)(QString &) const) {
        QString value;
        (measurement.*text)(value);
        columns.emplace_back(QString::fromLatin1(column), value);
    };
    label("unitsystem", &TMeasurement::UnitSystemText);
    label("cutoff", &TMeasurement::CutoffText);
    label("access", &TMeasurement::SampleLengthsText);
    label("stander", &TMeasurement::StandardText);
    label("range", &TMeasurement::RangeText);
    label("filter", &TMeasurement::FilterText);

    const TConditions &c = measurement.Conditions;
    columns.emplace_back(QStringLiteral("iunitsystem"), int(measurement.UnitSystem));
    columns.emplace_back(QStringLiteral("icutoff"), int(c.Cutoff));
    columns.emplace_back(QStringLiteral("iaccess"), int(c.SampleLengths));
    columns.emplace_back(QStringLiteral("istander"), int(c.Standard));
    columns.emplace_back(QStringLiteral("irange"), int(c.Range));
    columns.emplace_back(QStringLiteral("ifilter"), int(c.FilterCode));

    // An empty field is stored as empty text; null is left to the columns
    // the program never writes.
    columns.emplace_back(QStringLiteral("id"), NonNull(texts.Id));
    columns.emplace_back(QStringLiteral("operator"), NonNull(texts.Operator));
    if (writeRemark)
        columns.emplace_back(QStringLiteral("other"), NonNull(texts.Remark));
    columns.emplace_back(QStringLiteral("workname"), NonNull(texts.WorkName));

    QByteArray record;
    measurement.SaveMeasurementStream(record);
    columns.emplace_back(QStringLiteral("data"), record);
    return columns;
}

} // namespace RecordMapping
