#include "database/NextId.h"

namespace NextId {
namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

struct Split {
    QString stem;
    QString digits; // the trailing decimal digits, possibly empty
};

Split split(const QString &id)
{
    qsizetype start = id.size();
    while (start > 0 && isDigit(id[start - 1]))
        --start;
    return {id.left(start), id.mid(start)};
}

// Compares two digit strings by value, however long they are.
int compareNumbers(const QString &a, const QString &b)
{
    auto significant = [](const QString &d) {
        qsizetype i = 0;
        while (i < d.size() && d[i] == QLatin1Char('0'))
            ++i;
        return d.mid(i);
    };
    QString x = significant(a), y = significant(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

// Orders by stem, then by trailing number; the text itself breaks ties so the
// choice does not depend on the order the IDs came in.
bool lower(const QString &a, const QString &b)
{
    Split sa = split(a), sb = split(b);
    if (int c = sa.stem.compare(sb.stem))
        return c < 0;
    if (int c = compareNumbers(sa.digits, sb.digits))
        return c < 0;
    return a.compare(b) < 0;
}

} // namespace

QString After(const QString &id)
{
    Split s = split(id);
    if (s.digits.isEmpty())
        return id + QLatin1Char('1');
    QString digits = s.digits;
    qsizetype i = digits.size() - 1;
    for (; i >= 0; --i) {
        if (digits[i] != QLatin1Char('9')) {
            digits[i] = QChar(digits[i].unicode() + 1);
            break;
        }
        digits[i] = QLatin1Char('0');
    }
    if (i < 0)
        digits.prepend(QLatin1Char('1'));
    return s.stem + digits;
}

QString Highest(const QStringList &ids)
{
    QString best;
    bool any = false;
    for (const QString &id : ids) {
        if (!any || lower(best, id))
            best = id;
        any = true;
    }
    return best;
}

QString Suggest(const QStringList &ids, const std::function<bool(const QString &)> &exists)
{
    if (ids.isEmpty())
        return QStringLiteral("id0");
    QString next = After(Highest(ids));
    while (exists(next))
        next = After(next);
    return next;
}

} // namespace NextId
