#pragma once
// What qncal prints about days: the month grid, the info line, the labelled
// field list and the tab-separated line. Dates are the date type's days
// (proleptic Gregorian), handed to the engine unchanged as the calendar
// control does.

#include "calendar/ChnCal.h"

#include <ostream>
#include <string>

namespace qncal {

// One day's information: the day-information object plus the lunar day
// number and leap flag, which only the conversion itself reports.
struct DayInfo {
    int year = 0, month = 0, day = 0;
    TChnCal cal;
    int lunarDay = 0;
    bool isLeap = false;
};

// Fills a DayInfo for a valid date of years 1..2100.
DayInfo LookUpDay(int year, int month, int day);
// The same into an existing DayInfo, for runs of many days.
void LookUpDay(DayInfo& into, int year, int month, int day);

// "2010-06-01": four-digit year, two-digit month and day.
std::string FormatDate(int year, int month, int day);

// The lower line of a day cell, as the calendar control picks it: a lunar
// festival, else a solar term, else a Gregorian festival, else the lunar day,
// or the lunar month name on the first day of a lunar month.
std::string LowerLineText(const TChnCal& cal);

// "2010-06-01 农历四月十九"; for years before 1949 the era text stands in
// place of the date: "[清]德宗 爱新觉罗载湉 光绪26年 农历正月十一".
std::string InfoLine(const DayInfo& day);

struct MonthView {
    int year = 0, month = 0;
    int selectedDay = 1;   // the day the title and the info line describe
    int highlightDay = 0;  // drawn in reverse video when not 0 (today on a terminal)
};

// The month as a grid of weeks starting on Sunday, each day's number above
// its lower-line text, then the info line of the selected day.
void WriteMonth(std::ostream& out, const MonthView& view);

// Every field of the day, one "label：value" per line.
void WriteDayFields(std::ostream& out, const DayInfo& day);

// date, LunarYear, LunarMonth, LunarDay, IsLeap, LunarMonthText, LunarDayText,
// SolarTerm, Holiday, LunarHoliday, YearGanZhi, MonthGanZhi, DayGanZhi,
// Animal, Constellation, EraName, separated by tabs.
void WriteTsvLine(std::ostream& out, const DayInfo& day);

}  // namespace qncal
