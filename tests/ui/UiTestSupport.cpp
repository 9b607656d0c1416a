#include "UiTestSupport.h"

#include <QTest>
#include <cmath>

void MakeMeasurement(TComToPX510 &session)
{
    session.Conditions = TConditions{};
    session.UnitSystem = 0;
    session.ActualRange = 2;
    session.ActualCutoff = 2;
    session.RawByteCount = TComToPX510::MaxRawBytes;
    for (int i = 0; i < TComToPX510::MaxSamples; ++i) {
        // Feed marks on a slight waviness.
        const double value = 300 * std::sin(i * 0.21) + 120 * std::sin(i * 0.013) + (i % 7) * 15;
        const auto raw = static_cast<int16_t>(std::lround(value));
        session.RawData[static_cast<size_t>(2 * i)] = static_cast<uint8_t>(raw & 0xFF);
        session.RawData[static_cast<size_t>(2 * i + 1)] = static_cast<uint8_t>((raw >> 8) & 0xFF);
    }
    session.DecodeProfile();
    const double results[12] = {1.234, 1.5, 6.2, 5.1, 7.3, 7.0, 8.4, 3.9, 4.5, 0.05, 0.08, -0.2};
    auto order = session.InstrumentParams.InReportOrder();
    for (size_t i = 0; i < order.size(); ++i)
        order[i]->ParamValue = results[i];
    session.SetParameterUnitTexts();
    session.DistributeParameters();
    session.MeasureTime = 45000.5; // 2023-03-15 12:00
    session.HasData = true;
}

void SetRoughnessSpan(TComToPX510 &session, double half)
{
    session.RoughnessCount = 1000;
    for (int i = 0; i < session.RoughnessCount; ++i)
        session.RoughnessProfile[static_cast<size_t>(i)] = half * std::sin(i * 0.05);
    session.RoughnessProfile[0] = -half;
    session.RoughnessProfile[1] = half;
    session.BuildBearingCurve();
}

const char *EditionName(Edition edition)
{
    return edition == Edition::Station ? "corviastation" : "corviaview";
}

void MainWindowTest::SetUp()
{
    Form = std::make_unique<TForm1>(ComLink, Dialogs, GetParam());
}

void MainWindowTest::ShowWindow()
{
    Form->resize(1032, 748);
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    Form->RoungnessChart1->replot();
}

void MainWindowTest::Display()
{
    MakeMeasurement(ComLink);
    Form->ShowMeasurement();
}
