#include "common/NumberText.h"

#include <QLocale>
#include <cmath>

namespace NumberText {

std::optional<double> parseDouble(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseInt(const QString &text)
{
    bool ok = false;
    int value = QLocale::c().toInt(text.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString formatGeneral(double value)
{
    QString text = QString::number(value, 'g', 15);
    QChar separator = QLocale().decimalPoint().at(0);
    if (separator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

} // namespace NumberText
