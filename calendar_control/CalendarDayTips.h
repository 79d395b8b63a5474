#pragma once
// The tooltip of a day: every text the day carries, one per line, whatever
// the cell itself has room to show. No widgets, so it can be checked alone.

#include "calendar/ChnCal.h"
#include "holidays/HolidayCalendar.h"

#include <QStringList>

// Lines for a day whose information has been computed, in this order: the
// Gregorian festival, the lunar festival, the solar term, the almanac texts
// (数九 and 三伏 periods, 小年, 平安夜 …), then the statutory holiday
// ("春节 休", "春节调休 上班") when `holiday` is a day off or a working day.
// Empty texts are left out and no text is listed twice; a day without any
// gives no lines.
QStringList DayTipLines(const TChnCal& day, const qn::HolidayStatus& holiday = {});

// The same for a date value (day 0 = 30 December 1899).
QStringList DayTipLines(double date, const qn::HolidayStatus& holiday = {});
