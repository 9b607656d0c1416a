#include "link/ComToPX510Unit.h"

TComToPX510::TComToPX510()
{
    SetLinkState(LinkDisconnected);
    ErrorCode = -1;
}

TComToPX510::~TComToPX510() = default;

void TComToPX510::SetLinkState(uint8_t state)
{
    LinkState = state;
    if (state == LinkMeasurementFinished)
        FetchMeasurement();
}

void TComToPX510::ResetMeasurement()
{
    TMeasurement::ResetMeasurement();
    ErrorCode = -1;
}

void TComToPX510::SetError(int32_t code)
{
    ErrorCode = code;
    LinkState = LinkError;
}
