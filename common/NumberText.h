#pragma once
// Numbers from the tester, from files and from typed boxes are read the same
// way whatever the locale; shown numbers use the locale's decimal separator.

#include <QString>
#include <optional>

namespace NumberText {

// Accepts "12.5", " -0.3 ", "1e-3" and, for typed input, a decimal comma.
// Empty text, letters, and values that are not finite give no value.
std::optional<double> parseDouble(const QString &text);
std::optional<int> parseInt(const QString &text);

// The general number format: at most 15 significant digits, no trailing zeros,
// the locale's decimal separator.
QString formatGeneral(double value);

} // namespace NumberText
