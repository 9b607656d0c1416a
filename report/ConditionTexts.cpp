#include "report/ConditionTexts.h"

#include "measurement/Measurement.h"

std::array<QString, 6> ConditionPanelTexts(const TMeasurement &m)
{
    QString cutoff, lengths, range, filter, standard, units;
    m.CutoffText(cutoff);
    m.SampleLengthsText(lengths);
    m.RangeText(range);
    m.FilterText(filter);
    m.StandardText(standard);
    m.UnitSystemText(units);
    return {QStringLiteral("取样长度:") + cutoff, QStringLiteral("评定长度:") + lengths,
            QStringLiteral("量程:") + range,      QStringLiteral("滤波器:") + filter,
            QStringLiteral("标准:") + standard,   QStringLiteral("单位:") + units};
}

std::array<QString, 5> ReportConditionTexts(const TMeasurement &m)
{
    const std::array<QString, 6> panels = ConditionPanelTexts(m);
    return {panels[1], panels[2], panels[3], panels[4], panels[5]};
}
