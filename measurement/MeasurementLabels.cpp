// Texts of the condition and unit codes; the wording lives only here.

#include "common/DateTimeText.h"
#include "measurement/Measurement.h"

#include <initializer_list>

namespace {

// Assigns entry `code` of the table; a code outside it leaves the text alone.
void pick(QString &text, int code, std::initializer_list<const char16_t *> table)
{
    if (code >= 0 && code < static_cast<int>(table.size()))
        text = QString::fromUtf16(table.begin()[code]);
}

// A label whose words depend on the unit system; empty for a code or a
// system outside the tables.
QString unitLabel(int code, int unitSystem, std::initializer_list<const char16_t *> metric,
                  std::initializer_list<const char16_t *> imperial)
{
    QString text;
    if (unitSystem == 0)
        pick(text, code, metric);
    else if (unitSystem == 1)
        pick(text, code, imperial);
    return text;
}

// A label outside its table is empty and leaves the caller's text alone.
void assignLabel(QString &text, const QString &label)
{
    if (!label.isEmpty())
        text = label;
}

} // namespace

void TMeasurement::SampleLengthsText(QString &text) const
{
    pick(text, Conditions.SampleLengths, {u"1", u"2", u"3", u"4", u"5"});
}

QString TMeasurement::CutoffLabel(int code, int unitSystem)
{
    return unitLabel(code, unitSystem, {u"自动", u"0.25mm", u"0.8mm", u"2.5mm"},
                     {u"自动", u"0.01inch", u"0.03inch", u"0.1inch"});
}

QString TMeasurement::RangeLabel(int code, int unitSystem)
{
    return unitLabel(code, unitSystem, {u"自动", u"±20μm", u"±40μm", u"±80μm"},
                     {u"自动", u"±800uin", u"±1600uin", u"±3200uin"});
}

void TMeasurement::CutoffText(QString &text) const
{
    assignLabel(text, CutoffLabel(Conditions.Cutoff, UnitSystem));
}

void TMeasurement::RangeText(QString &text) const
{
    assignLabel(text, RangeLabel(Conditions.Range, UnitSystem));
}

void TMeasurement::UnitSystemText(QString &text) const
{
    pick(text, UnitSystem, {u"公制", u"英制"});
}

void TMeasurement::FilterText(QString &text) const
{
    pick(text, Conditions.FilterCode, {u"R-C", u"PC-RC", u"GAUSS", u"D-P"});
}

void TMeasurement::StandardText(QString &text) const
{
    pick(text, Conditions.Standard, {u"ISO", u"DIN", u"JIS", u"ANSI"});
}

void TMeasurement::LengthUnitText(QString &text) const
{
    pick(text, UnitSystem, {u"mm", u"mil"});
}

void TMeasurement::HeightUnitText(QString &text) const
{
    pick(text, UnitSystem, {u"μm", u"μin"});
}

void TMeasurement::ResultsText(int perRow, QString &text)
{
    const Tparameters *set = nullptr;
    QString header;
    switch (Conditions.Standard) {
    case 0:
        set = &IsoParams;
        header = QString(23, QLatin1Char(' ')) + QStringLiteral("ISO数据：");
        break;
    case 1:
        set = &DinParams;
        header = QString(23, QLatin1Char(' ')) + QStringLiteral("DIN数据：");
        break;
    case 2:
        set = &JisParams;
        header = QString(23, QLatin1Char(' ')) + QStringLiteral("JIS数据：");
        break;
    case 3:
        set = &AnsiParams;
        header = QString(22, QLatin1Char(' ')) + QStringLiteral("ANSI数据：");
        break;
    default: break;
    }
    if (set) {
        text += DateTimeText::displayText(MeasureTime) + header + QStringLiteral("\r\n");
        ParametersToText(*set, perRow, text);
    }
    text += QStringLiteral("\r\n");
}
