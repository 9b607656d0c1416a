#include "link/ComToPX510Unit.h"

// Placeholder until the link layer lands: with no port open the first
// exchange fails, so the fetch fails and nothing is taken over.
bool TComToPX510::FetchMeasurement()
{
    ResetMeasurement();
    return false;
}
