#include "database/RecordDateText.h"

#include "common/DateTimeText.h"

#include <QLocale>

namespace RecordDateText {

QString Display(const QVariant &stored)
{
    if (stored.isNull())
        return {};
    std::optional<double> days = DateTimeText::parseStorageText(stored.toString());
    if (!days)
        return {};
    QDateTime dt = DateTimeText::toDateTime(*days);
    if (dt.time() == QTime(0, 0))
        return QLocale().toString(dt.date(), QLocale::ShortFormat);
    return DateTimeText::displayText(*days);
}

std::optional<double> Parse(const QString &text)
{
    if (auto days = DateTimeText::parseDisplayText(text))
        return days;
    return DateTimeText::parseStorageText(text);
}

} // namespace RecordDateText
