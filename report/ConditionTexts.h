#pragma once
// The measuring conditions as the main window's status bar writes them, each
// after its caption; the report's condition row repeats the last five.

#include <QString>
#include <array>

class TMeasurement;

// Status panels 1 to 6: cutoff, evaluation length, range, filter, standard
// and unit system.
std::array<QString, 6> ConditionPanelTexts(const TMeasurement &measurement);

// Panels 2 to 6, as the report's condition row takes them.
std::array<QString, 5> ReportConditionTexts(const TMeasurement &measurement);
