// The tester's own settings beside the measurement's codes. A measurement
// keeps the unit system and conditions its values were taken in until a new
// one replaces it or the operator converts it; what the tester is set to
// lives in Tester and reaches a measurement only through a fetch.

#include "link/ComToPX510Unit.h"

void TComToPX510::TakeTesterSettings()
{
    Conditions = Tester.Conditions;
    UnitSystem = Tester.UnitSystem;
    ActualRange = Tester.ActualRange;
    ActualCutoff = Tester.ActualCutoff;
    SetParameterUnitTexts();
    DistributeParameters();
}

void TComToPX510::FollowTesterWithoutData()
{
    if (!HasData)
        TakeTesterSettings();
}

double TComToPX510::TesterRangeLimit() const
{
    return RangeLimitOf(Tester.Conditions.Range, Tester.ActualRange, Tester.UnitSystem);
}

void TComToPX510::TesterRangeText(QString &text) const
{
    const QString label = RangeLabel(Tester.Conditions.Range, Tester.UnitSystem);
    if (!label.isEmpty()) // a code outside the table leaves the text alone
        text = label;
}
