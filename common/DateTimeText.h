#pragma once
// A measurement time is a double counting days since 1899-12-30; the fraction
// is the time of day. These helpers turn it into the texts the program shows,
// stores in measurement records and keeps in the database, and back.

#include <QDateTime>
#include <QString>
#include <optional>

namespace DateTimeText {

QDateTime toDateTime(double days);
double fromDateTime(const QDateTime &dateTime);
double now();

// The locale's short date followed by the time with seconds (no time-zone name).
QString displayText(double days);
// Reads displayText() back, also without the time (midnight). A two-digit
// year is taken in the century that puts the date nearest to today.
std::optional<double> parseDisplayText(const QString &text);

// The date text inside a measurement record: yyyy-M-d H:mm:ss, the time left
// out at exactly midnight, so it always fits 20 characters in any locale.
QString recordText(double days);
// Reads recordText() and also yyyy/M/d and yyyy-MM-dd, with or without a time.
std::optional<double> parseRecordText(const QString &text);

// The form kept in database columns: yyyy-MM-dd HH:mm:ss (orders as text).
QString storageText(double days);
std::optional<double> parseStorageText(const QString &text);

} // namespace DateTimeText
