#pragma once
// The report header: the database record the measurement on screen was
// loaded from or saved as, shown as the data manager's field editors show it.

#include "report/ReportInput.h"

class TMeasurement;
class TDataManager;

// Empty texts for a measurement that belongs to no record (one from the
// tester or a file, not saved yet) and when that record has gone.
ReportHeader ReportHeaderOf(TDataManager &data, const TMeasurement &session);
