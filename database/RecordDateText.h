#pragma once
// Date-time columns as the data manager shows and accepts them: the user's
// short date and time with seconds, the time left out at exactly midnight.
// The report header shows them the same way.

#include <QString>
#include <QVariant>
#include <optional>

namespace RecordDateText {

// The shown form of a stored date-time; empty for null or unreadable text.
QString Display(const QVariant &stored);
// The shown form read back; the storage form yyyy-MM-dd HH:mm:ss is accepted too.
std::optional<double> Parse(const QString &text);

} // namespace RecordDateText
