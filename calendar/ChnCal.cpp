#include "ChnCal.h"

// Placeholder until the engine lands: only remembers the date.
void TChnCal::Compute(double date)
{
    Date = date;
}
