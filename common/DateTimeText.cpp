#include "common/DateTimeText.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <vector>

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
    if (!dt.isValid())
        return QStringLiteral("时间未知");
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

namespace {

enum class Order { YMD, DMY, MDY };

// The date of three numbers in the given order; invalid when they do not make one.
QDate dateIn(Order order, const int (&n)[3], bool twoDigitYear)
{
    int y = 0, m = 0, d = 0;
    switch (order) {
    case Order::YMD:
        y = n[0];
        m = n[1];
        d = n[2];
        break;
    case Order::DMY:
        d = n[0];
        m = n[1];
        y = n[2];
        break;
    case Order::MDY:
        m = n[0];
        d = n[1];
        y = n[2];
        break;
    }
    if (twoDigitYear) {
        // A measurement is never from the future: 20yy unless beyond next year.
        const int nextYear = QDate::currentDate().year() + 1;
        y += 2000 + y <= nextYear ? 2000 : 1900;
    }
    return QDate(y, m, d);
}

// The orders to try, best first, for the parts as written.
std::vector<Order> ordersFor(const QString (&part)[3], QChar separator, bool englishMarker)
{
    const int first = part[0].toInt(), second = part[1].toInt();
    const bool dotted = separator == QLatin1Char('.');
    if (part[0].size() > 2 || first > 31)
        return {Order::YMD};
    auto yearLast = [&]() -> std::vector<Order> {
        if (first > 12)
            return {Order::DMY};
        if (second > 12)
            return {Order::MDY};
        if (englishMarker && !dotted)
            return {Order::MDY, Order::DMY};
        return {Order::DMY, Order::MDY};
    };
    if (part[2].size() > 2 || part[2].toInt() > 31)
        return yearLast();
    // Three two-digit parts.
    if (dotted)
        return {Order::DMY, Order::YMD, Order::MDY};
    if (englishMarker)
        return {Order::MDY, Order::DMY, Order::YMD};
    return {Order::YMD, Order::DMY, Order::MDY};
}

} // namespace

std::optional<double> parseRecordText(const QString &text)
{
    // date, then optionally the time with its marker before or after it.
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([0-9]{1,4})([-/.])([0-9]{1,2})\\2([0-9]{1,4})\\.?"
                       "(?:(?:[\\sT]+|(?=上午|下午))(上午|下午|AM|PM)?\\s*([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?"
                       "\\s*(上午|下午|AM|PM)?)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString part[3] = {m.captured(1), m.captured(3), m.captured(4)};
    // Only the first or the last part may be a year of more than two digits.
    if (part[1].size() > 2 || (part[0].size() > 2 && part[2].size() > 2))
        return std::nullopt;
    if (m.capturedLength(5) > 0 && m.capturedLength(9) > 0)
        return std::nullopt; // a marker on both sides
    const QString marker = (m.capturedLength(5) > 0 ? m.captured(5) : m.captured(9)).toUpper();
    const bool englishMarker = marker == QLatin1String("AM") || marker == QLatin1String("PM");

    const int numbers[3] = {part[0].toInt(), part[1].toInt(), part[2].toInt()};
    QDate date;
    for (Order order : ordersFor(part, m.captured(2).at(0), englishMarker)) {
        const bool twoDigitYear = part[order == Order::YMD ? 0 : 2].size() <= 2;
        date = dateIn(order, numbers, twoDigitYear);
        if (date.isValid())
            break;
    }

    QTime time(0, 0);
    if (m.capturedLength(6) > 0) {
        int hour = m.captured(6).toInt();
        if (!marker.isEmpty()) {
            if (hour > 12)
                return std::nullopt;
            const bool afternoon = marker == QLatin1String("PM") || marker == QStringLiteral("下午");
            hour = hour % 12 + (afternoon ? 12 : 0);
        }
        time = QTime(hour, m.captured(7).toInt(), m.capturedLength(8) > 0 ? m.captured(8).toInt() : 0);
    }
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
