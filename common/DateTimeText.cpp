#include "common/DateTimeText.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace DateTimeText {
namespace {

const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;

QString timeWithSeconds(const QLocale &locale)
{
    // The long time format of Qt carries the zone name ("t"); drop it.
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    if (!format.contains(QLatin1Char('s')))
        format += QStringLiteral(":ss");
    return format.trimmed();
}

} // namespace

QDateTime toDateTime(double days)
{
    // Beyond what a 64-bit day number holds there is no date at all.
    if (!std::isfinite(days) || std::fabs(days) >= 9.0e18)
        return {};
    // Whole days count from the epoch; the fraction is the time of day on either side.
    double whole = std::trunc(days);
    qint64 ms = std::llround(std::fabs(days - whole) * kMsPerDay);
    qint64 dayNumber = static_cast<qint64>(whole);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        dayNumber += 1;
    }
    QDate date = kEpoch.addDays(dayNumber);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

double fromDateTime(const QDateTime &dateTime)
{
    qint64 dayNumber = kEpoch.daysTo(dateTime.date());
    double fraction = static_cast<double>(dateTime.time().msecsSinceStartOfDay()) / kMsPerDay;
    return dayNumber >= 0 ? dayNumber + fraction : dayNumber - fraction;
}

double now()
{
    return fromDateTime(QDateTime::currentDateTime());
}

QString displayText(double days)
{
    QDateTime dt = toDateTime(days);
    QLocale locale;
    return locale.toString(dt.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(dt.time(), timeWithSeconds(locale));
}

std::optional<double> parseDisplayText(const QString &text)
{
    QLocale locale;
    const QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
    const QString trimmed = text.trimmed();
    QDateTime dt = locale.toDateTime(trimmed, dateFormat + QLatin1Char(' ') + timeWithSeconds(locale));
    if (!dt.isValid())
        dt = QDateTime(locale.toDate(trimmed, dateFormat), QTime(0, 0));
    if (!dt.isValid())
        return std::nullopt;
    if (!dateFormat.contains(QStringLiteral("yyyy"))) {
        const QDate today = QDate::currentDate();
        while (dt.date().daysTo(today) > 365 * 50)
            dt = dt.addYears(100);
    }
    return fromDateTime(dt);
}

QString recordText(double days)
{
    QDateTime dt = toDateTime(days);
    QString text = dt.date().toString(QStringLiteral("yyyy-M-d"));
    if (dt.time() != QTime(0, 0))
        text += dt.time().toString(QStringLiteral(" H:mm:ss"));
    return text;
}

std::optional<double> parseRecordText(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^\\s*(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})(?:[ T]+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    QTime time(0, 0);
    if (m.capturedLength(4) > 0)
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                     m.capturedLength(6) > 0 ? m.captured(6).toInt() : 0);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return fromDateTime(QDateTime(date, time));
}

QString storageText(double days)
{
    return toDateTime(days).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::optional<double> parseStorageText(const QString &text)
{
    return parseRecordText(text);
}

} // namespace DateTimeText
