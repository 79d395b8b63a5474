#pragma once
// The tooltip of a day: every text the day carries, one per line, whatever
// the cell itself has room to show. No widgets, so it can be checked alone.

#include "calendar/ChnCal.h"

#include <QStringList>

// Lines for a day whose information has been computed, in this order: the
// Gregorian festival, the lunar festival, the solar term. Empty texts are
// left out; a day without any gives no lines.
QStringList DayTipLines(const TChnCal& day);

// The same for a date value (day 0 = 30 December 1899).
QStringList DayTipLines(double date);
