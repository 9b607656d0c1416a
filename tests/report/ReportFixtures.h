#pragma once
// Shared pieces of the report tests: a measurement and a chart double.

#include "measurement/Measurement.h"
#include "report/ReportChart.h"

#include <QLocale>
#include <QPainter>
#include <memory>

// A measurement holding a full set of instrument results.
inline std::unique_ptr<TMeasurement> measuredSession(int standard)
{
    auto s = std::make_unique<TMeasurement>();
    TPX510parameters &p = s->InstrumentParams;
    p.Ra.ParamValue = 0.52;
    p.Rq.ParamValue = 0.61;
    p.Rz.ParamValue = 3.1;
    p.R3z.ParamValue = 2.2;
    p.Ryi.ParamValue = 4.25;
    p.Ryd.ParamValue = 4.75;
    p.Rt.ParamValue = 5.5;
    p.Rp.ParamValue = 2.5;
    p.Rv.ParamValue = 3;
    p.S.ParamValue = 0.04;
    p.Sm.ParamValue = 0.12;
    p.Sk.ParamValue = -0.3;
    s->Conditions.Standard = static_cast<uint8_t>(standard);
    return s;
}

// A text written with "." as decimal point, as the current locale shows it.
inline QString localized(QString text)
{
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// Records what the report asks of a chart.
class FakeChart : public ReportChart {
public:
    ReportChartLook Current;
    ReportChartLook LookWhileDrawn;
    QRect DrawnInto;
    bool TransformWasIdentity = false;
    int Draws = 0;

    ReportChartLook Look() const override { return Current; }
    void SetLook(const ReportChartLook &look) override { Current = look; }
    void DrawToCanvas(QPainter &canvas, const QRect &rect) override
    {
        ++Draws;
        LookWhileDrawn = Current;
        DrawnInto = rect;
        TransformWasIdentity = canvas.combinedTransform().isIdentity();
        canvas.drawText(rect.topLeft() + QPoint(5, 20), QStringLiteral("CHART"));
    }
};
