#include "common/NumberText.h"

#include <QLocale>
#include <algorithm>
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
    QString text;
    const double magnitude = std::fabs(value);
    if (value == 0) {
        text = QStringLiteral("0");
    } else if (std::isfinite(value) && magnitude >= 1e-5 && magnitude < 1e15) {
        // Fixed notation with at most 15 significant digits, trailing zeros dropped.
        int digitsBeforePoint = static_cast<int>(std::floor(std::log10(magnitude))) + 1;
        text = QString::number(value, 'f', std::max(0, 15 - digitsBeforePoint));
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(QLatin1Char('.')))
                text.chop(1);
        }
    } else {
        text = QString::number(value, 'g', 15);
    }
    QChar separator = QLocale().decimalPoint().at(0);
    if (separator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

} // namespace NumberText
