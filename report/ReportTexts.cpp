#include "report/ReportTexts.h"

#include "analysis/ParameterUnit.h"
#include "common/NumberText.h"

#include <array>

namespace {

// The instrument's twelve results, in their travelling order.
enum Result { Ra, Rq, Rz, R3z, Ryi, Ryd, Rt, Rp, Rv, S, Sm, Sk };

const Tparameter &pick(const TPX510parameters &p, Result r)
{
    const std::array<const Tparameter *, 12> all{&p.Ra, &p.Rq, &p.Rz, &p.R3z, &p.Ryi, &p.Ryd,
                                                 &p.Rt, &p.Rp, &p.Rv, &p.S,   &p.Sm,  &p.Sk};
    return *all[r];
}

struct CellLayout {
    int x, y;
    const char16_t *label; // nullptr: the parameter's own caption, "=" and a blank
    Result value;
    Result unit;
};

constexpr int Col1 = 630, Col2 = 1170, Col3 = 1710, Col4 = 2160;
constexpr int Row1 = 460, Row2 = 560, Row3 = 660;

const std::vector<CellLayout> &layoutOf(int standard)
{
    static const std::vector<CellLayout> iso{
        {Col1, Row1, nullptr, Ra, Ra}, {Col2, Row1, nullptr, Rq, Rq},  {Col3, Row1, u"Ry= ", Ryi, Ryi},
        {Col4, Row1, nullptr, Rt, Rt}, {Col1, Row2, nullptr, Rp, Rp},  {Col2, Row2, u"Rv= ", Rv, Rv},
        {Col3, Row2, u"RS= ", S, S},   {Col4, Row2, u"RSm= ", Sm, Sm}, {Col1, Row3, u"RSk= ", Sk, Sk},
    };
    // The DIN set lists the instrument's Ryi under Rz; the report follows it
    // and keeps the unit of Ryd, which every height result shares.
    static const std::vector<CellLayout> din{
        {Col1, Row1, nullptr, Ra, Ra},  {Col2, Row1, nullptr, Rq, Rq},   {Col3, Row1, u"Rz= ", Ryi, Ryd},
        {Col4, Row1, u"Ry= ", Rt, Rt},  {Col1, Row2, u"Rmax= ", Rt, Rt}, {Col2, Row2, u"RS= ", S, S},
        {Col3, Row2, u"RSm= ", Sm, Sm},
    };
    static const std::vector<CellLayout> jis{
        {Col1, Row1, nullptr, Ra, Ra},   {Col2, Row1, nullptr, Rq, Rq},   {Col3, Row1, u"Rz= ", Rz, Rz},
        {Col4, Row1, nullptr, R3z, R3z}, {Col1, Row2, u"Ry= ", Ryi, Ryi}, {Col2, Row2, u"Rt= ", Rt, Rt},
        {Col3, Row2, u"Rp= ", Rp, Rp},   {Col4, Row2, u"RS= ", S, S},     {Col1, Row3, u"RSm= ", Sm, Sm},
    };
    static const std::vector<CellLayout> ansi{
        {Col1, Row1, nullptr, Ra, Ra},   {Col2, Row1, nullptr, Rq, Rq}, {Col3, Row1, u"Rz= ", Ryi, Ryi},
        {Col4, Row1, u"Rmax= ", Rt, Rt}, {Col1, Row2, u"Rt= ", Rt, Rt}, {Col2, Row2, u"RS= ", S, S},
        {Col3, Row2, u"RSm= ", Sm, Sm},
    };
    static const std::vector<CellLayout> none;
    switch (standard) {
    case 0: return iso;
    case 1: return din;
    case 2: return jis;
    case 3: return ansi;
    default: return none;
    }
}

} // namespace

QString ReportCurveTitle(const ReportSeries &series)
{
    // The last rule that applies wins.
    QString title;
    if (series.Unfiltered)
        title = QStringLiteral("未滤波曲 线");
    if (series.Roughness)
        title = QStringLiteral("粗糙度曲 线");
    if (series.Unfiltered && series.Roughness)
        title = QStringLiteral("未滤波曲线和粗糙度曲 线");
    if (series.Bearing)
        title = QStringLiteral("支撑率曲 线");
    return title;
}

QString ReportValueText(double value)
{
    return NumberText::formatGeneral(value);
}

std::vector<ReportCell> ReportResultCells(int standard, const TPX510parameters &results)
{
    std::vector<ReportCell> cells;
    for (const CellLayout &cell : layoutOf(standard)) {
        const Tparameter &value = pick(results, cell.value);
        const QString &unit = pick(results, cell.unit).ParamUnit;
        QString text;
        if (cell.label) {
            // The spacing results keep their unit apart from the number.
            const bool spaced = cell.unit == S || cell.unit == Sm;
            text = QString::fromUtf16(cell.label) + ReportValueText(value.ParamValue)
                + (spaced ? QStringLiteral(" ") : QString()) + unit;
        } else {
            text = value.ParamCaption + QStringLiteral("= ") + ReportValueText(value.ParamValue) + unit;
        }
        cells.push_back({QPoint(cell.x, cell.y), text});
    }
    return cells;
}
