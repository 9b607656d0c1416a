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

// The locale's short date followed by the time with seconds (no time-zone name);
// "时间未知" for a time that is not known (not a finite day count).
QString displayText(double days);
// Reads displayText() back, also without the time (midnight). A two-digit
// year is taken in the century that puts the date nearest to today.
std::optional<double> parseDisplayText(const QString &text);

// The date text inside a measurement record: yyyy-M-d H:mm:ss, the time left
// out at exactly midnight, so it always fits 20 characters in any locale.
QString recordText(double days);
// Reads recordText() and the short-date and long-time forms of other
// regional settings, with or without the time:
//   dates  yyyy-M-d, yyyy/M/d, yyyy.M.d, d.M.yyyy, M/d/yyyy, d/M/yyyy, and all
//          of these with two-digit years (a two-digit year is 20yy unless that
//          lies beyond next year, then 19yy);
//   times  H:mm[:ss], h:mm[:ss] with AM/PM after or 上午/下午 before or after.
// With the year last, the order of day and month is taken from a value above
// 12 where there is one; otherwise a dotted date is day first, a date with
// AM/PM month first (as those PCs write it), any other day first. With all
// three parts of two digits, a date with '-' or '/' is year first unless AM/PM
// says month first; a dotted one is day first.
std::optional<double> parseRecordText(const QString &text);

// The form kept in database columns: yyyy-MM-dd HH:mm:ss (orders as text).
QString storageText(double days);
std::optional<double> parseStorageText(const QString &text);

} // namespace DateTimeText
