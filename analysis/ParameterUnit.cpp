#include "analysis/ParameterUnit.h"

#include "common/TextCodec.h"

Tparameter::Tparameter(const QString &name, const QString &caption, const QString &unit)
    : ParamName(name), ParamCaption(caption), ParamUnit(unit)
{}

void Tparameter::Evaluate(const double *, const ProfileDescriptor &) {}

void tparameter_copy(Tparameter &destination, const Tparameter &source)
{
    destination.ParamName = source.ParamName;
    destination.ParamValue = source.ParamValue;
    destination.ParamUnit = source.ParamUnit;
}

void Tparameters::setSlots(std::initializer_list<Tparameter *> members)
{
    ParamSlots.fill(nullptr);
    int i = 0;
    for (Tparameter *member : members)
        ParamSlots[static_cast<size_t>(i++)] = member;
    ParamCount = i;
}

TPX510parameters::TPX510parameters()
{
    setSlots({&Ra, &R3z, &Rv, &Rp, &Rt, &Ryi, &Ryd, &Rz, &S, &Sk, &Sm, &Rq});
}

std::array<Tparameter *, 12> TPX510parameters::InReportOrder()
{
    return {&Ra, &Rq, &Rz, &R3z, &Ryi, &Ryd, &Rt, &Rp, &Rv, &S, &Sm, &Sk};
}

TISOparameters::TISOparameters()
{
    Rz.ParamCaption = QStringLiteral("Rz");
    setSlots({&Ra, &Rq, &Rz, &Rt, &Rp, &Rv, &S, &Sm, &Sk});
}

TDINparameters::TDINparameters()
{
    Rz.ParamCaption = QStringLiteral("Rz");
    Ry.ParamCaption = QStringLiteral("Ry");
    Rmax.ParamCaption = QStringLiteral("Rmax");
    Sm.ParamCaption = QStringLiteral("Sm");
    setSlots({&Ra, &Rq, &Rz, &Ry, &Rmax, &S, &Sm});
}

JISparameters::JISparameters()
{
    Ry.ParamCaption = QStringLiteral("Ry");
    setSlots({&Ra, &Rq, &Rz, &R3z, &Ry, &Rt, &Rp, &S, &Sm});
}

TANSIparameters::TANSIparameters()
{
    Rmax.ParamCaption = QStringLiteral("Rmax");
    Rt.ParamCaption = QStringLiteral("Rt");
    setSlots({&Ra, &Rq, &Rz, &Rmax, &Rt, &S, &Sm});
}

namespace {

// printf-style padding where the width counts GB2312 bytes.
QString padded(const QString &text, int width, bool leftAlign)
{
    int fill = width - TextCodec::gb2312Length(text);
    if (fill <= 0)
        return text;
    QString blanks(fill, QLatin1Char(' '));
    return leftAlign ? text + blanks : blanks + text;
}

} // namespace

void ParametersToText(const Tparameters &set, int perLine, QString &text)
{
    if (perLine < 1)
        return;
    const int lines = set.ParamCount / perLine + 1;
    for (int r = 0; r < lines; ++r) {
        for (int s = r * perLine; s < r * perLine + perLine; ++s) {
            // Slots past the end of the array count as empty.
            if (s >= Tparameters::SlotCount)
                break;
            const Tparameter *p = set.ParamSlots[static_cast<size_t>(s)];
            if (!p)
                continue;
            text += padded(p->ParamCaption, 20, false) + QStringLiteral(" =")
                + QString::asprintf("%8.3f", p->ParamValue) + padded(p->ParamUnit, 8, true);
        }
        text += QStringLiteral("\r\n");
    }
}
