#pragma once
// The report header from the data manager's current row, exactly as its
// field editors show it.

#include "report/ReportInput.h"

class TRecordView;

// Empty texts when the view has no current row.
ReportHeader ReportHeaderOf(TRecordView &view);
