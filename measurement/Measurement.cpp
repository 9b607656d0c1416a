#include "measurement/Measurement.h"

#include "files/PX510FileUnit.h"

TMeasurement::TMeasurement()
{
    // The parameter sets are members and exist before this body runs.
    FileIO = std::make_unique<TPX510FileIO>();
    BearingLevels = 100;
}

TMeasurement::~TMeasurement() = default;

void TMeasurement::ResetMeasurement()
{
    RawByteCount = 0;
    SampleCount = 0;
    HasData = false;
    // Whatever comes next is a new measurement, not the record shown before.
    ForgetRecord();
}

void TMeasurement::ForgetRecord()
{
    RecordId.clear();
    RecordAutoId = 0;
}

int TMeasurement::SampleLengthCount() const
{
    return Conditions.SampleLengths <= 4 ? Conditions.SampleLengths + 1 : 0;
}

double TMeasurement::CutoffLength() const
{
    uint8_t code = Conditions.Cutoff != 0 ? Conditions.Cutoff : ActualCutoff;
    double mm = code == 1 ? 0.25 : code == 2 ? 0.8 : code == 3 ? 2.5 : 0;
    return UnitSystem == 0 ? mm : UnitSystem == 1 ? MetricToInch(mm) : 0;
}

double TMeasurement::RangeLimit() const
{
    return RangeLimitOf(Conditions.Range, ActualRange, UnitSystem);
}

double TMeasurement::RangeLimitOf(uint8_t range, uint8_t actualRange, uint8_t unitSystem)
{
    const uint8_t code = range != 0 ? range : actualRange;
    const double um = code == 1 ? 20 : code == 2 ? 40 : code == 3 ? 80 : 0;
    return unitSystem == 0 ? um / 1000 : unitSystem == 1 ? MetricToInch(um / 1000) : 0;
}

double TMeasurement::SampleSpacing() const
{
    if (SampleCount == 0)
        return 0;
    return SampleLengthCount() * CutoffLength() / SampleCount;
}

void TMeasurement::DistributeParameters()
{
    const TPX510parameters &p = InstrumentParams;
    tparameter_copy(IsoParams.Ra, p.Ra);
    tparameter_copy(IsoParams.Rq, p.Rq);
    tparameter_copy(IsoParams.Rz, p.Ryi);
    tparameter_copy(IsoParams.Rt, p.Rt);
    tparameter_copy(IsoParams.Rp, p.Rp);
    tparameter_copy(IsoParams.Rv, p.Rv);
    tparameter_copy(IsoParams.S, p.S);
    tparameter_copy(IsoParams.Sm, p.Sm);
    tparameter_copy(IsoParams.Sk, p.Sk);

    tparameter_copy(DinParams.Ra, p.Ra);
    tparameter_copy(DinParams.Rq, p.Rq);
    tparameter_copy(DinParams.Rz, p.Ryi);
    tparameter_copy(DinParams.Ry, p.Rt);
    tparameter_copy(DinParams.Rmax, p.Rt);
    tparameter_copy(DinParams.S, p.S);
    tparameter_copy(DinParams.Sm, p.Sm);

    tparameter_copy(JisParams.Ra, p.Ra);
    tparameter_copy(JisParams.Rq, p.Rq);
    tparameter_copy(JisParams.Rz, p.Rz);
    tparameter_copy(JisParams.R3z, p.R3z);
    tparameter_copy(JisParams.Ry, p.Ryi);
    tparameter_copy(JisParams.Rt, p.Rt);
    tparameter_copy(JisParams.Rp, p.Rp);
    tparameter_copy(JisParams.S, p.S);
    tparameter_copy(JisParams.Sm, p.Sm);

    tparameter_copy(AnsiParams.Ra, p.Ra);
    tparameter_copy(AnsiParams.Rq, p.Rq);
    tparameter_copy(AnsiParams.Rz, p.Ryi);
    tparameter_copy(AnsiParams.Rmax, p.Rt);
    tparameter_copy(AnsiParams.Rt, p.Rt);
    tparameter_copy(AnsiParams.S, p.S);
    tparameter_copy(AnsiParams.Sm, p.Sm);
}

void TMeasurement::SetParameterUnitTexts()
{
    if (UnitSystem > 1)
        return;
    // The words are those of the unit labels; Sk carries none.
    QString height, length;
    HeightUnitText(height);
    LengthUnitText(length);
    // Report order: nine heights, then S and Sm, then Sk.
    auto parameters = InstrumentParams.InReportOrder();
    for (int i = 0; i < 9; ++i)
        parameters[i]->ParamUnit = height;
    parameters[9]->ParamUnit = length;
    parameters[10]->ParamUnit = length;
    parameters[11]->ParamUnit.clear();
}

void TMeasurement::ConvertUnits(double factor)
{
    TPX510parameters &p = InstrumentParams;
    for (Tparameter *value :
         {static_cast<Tparameter *>(&p.Ra), static_cast<Tparameter *>(&p.Rq), static_cast<Tparameter *>(&p.Rz),
          static_cast<Tparameter *>(&p.R3z), static_cast<Tparameter *>(&p.Ryi), static_cast<Tparameter *>(&p.Ryd),
          static_cast<Tparameter *>(&p.Rt), static_cast<Tparameter *>(&p.Rp), static_cast<Tparameter *>(&p.Rv),
          static_cast<Tparameter *>(&p.S), static_cast<Tparameter *>(&p.Sm)})
        value->ParamValue *= factor;
    SetParameterUnitTexts();
    DistributeParameters();
    for (int i = 0; i < SampleCount && i < MaxSamples; ++i)
        Profile[size_t(i)] *= factor;
    ApplyFilter();
    BuildBearingCurve();
}

void TMeasurement::ConvertToImperial()
{
    ConvertUnits(MetricToInch(1));
}

void TMeasurement::ConvertToMetric()
{
    ConvertUnits(InchToMetric(1));
}
