#pragma once
// The calendar grids of qncal, laid out like cal's: one month, three months
// side by side, or a whole year three months across. Every day shows its
// number above its lower-line text (see LowerLineText); a statutory day off
// or working day has its 休 or 班 right after the number.

#include "calendar/DateValue.h"
#include "holidays/HolidayCalendar.h"

#include <ostream>
#include <string>

namespace qncal {

struct GridStyle {
    bool mondayFirst = false;  // weeks start on Monday instead of Sunday
    bool weekNumbers = false;  // the ISO week number before each week
    bool color = false;        // weekends, festivals, solar terms, 休/班 and today in colour
    // Statutory days off and working days are marked 休 or 班 beside the
    // day number; none without a table.
    const qn::HolidayCalendar* holidays = nullptr;
};

struct MonthView {
    int year = 0, month = 0;
    int selectedDay = 1;  // the day the info line describes
};

// One month, titled with its lunar year (both years when the lunar new year
// falls in it), then the info line of the selected day. With colour, today
// is shown in reverse video when it lies in the month.
void WriteMonth(std::ostream& out, const MonthView& view, const qn::CivilDate& today, const GridStyle& style = {});

// The month before, the month itself and the month after, side by side;
// months outside years 1..2100 are left out.
void WriteThreeMonths(std::ostream& out, int year, int month, const qn::CivilDate& today, const GridStyle& style);

// The twelve months of the year, three across, under one title.
void WriteYear(std::ostream& out, int year, const qn::CivilDate& today, const GridStyle& style);

// The lunar years from first to last: "甲辰年 龙年", or
// "癸卯年 兔年 / 甲辰年 龙年" when they differ. Compact: "甲辰龙年",
// "癸卯兔年/甲辰龙年".
std::string LunarYearsText(int firstLunarYear, int lastLunarYear, bool compact = false);

}  // namespace qncal
