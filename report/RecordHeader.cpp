#include "report/RecordHeader.h"

#include "database/RecordDateText.h"
#include "database/RecordView.h"

ReportHeader ReportHeaderOf(TRecordView &view)
{
    if (!view.HasCurrent())
        return {};
    return {view.Value(RecordField::Id).toString(), view.Value(RecordField::WorkName).toString(),
            view.Value(RecordField::Operator).toString(),
            RecordDateText::Display(view.Value(RecordField::DateTime))};
}
