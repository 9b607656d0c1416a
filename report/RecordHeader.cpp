#include "report/RecordHeader.h"

#include "database/DataManager.h"
#include "database/RecordDateText.h"
#include "measurement/Measurement.h"

ReportHeader ReportHeaderOf(TDataManager &data, const TMeasurement &session)
{
    const std::optional<StoredTexts> row = data.LookupByAutoId(session.RecordAutoId);
    if (!row)
        return {};
    return {row->Id.value_or(QString()), row->WorkName.value_or(QString()), row->Operator.value_or(QString()),
            RecordDateText::Display(row->DateTime)};
}
