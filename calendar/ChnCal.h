#pragma once
// TChnCal: the day-information object. Given a date value, Compute fills in
// every calendar text of that day; the fields are read directly afterwards.
// It is the calendar engine's only entry point for the rest of the program.
// Strings are UTF-8; a text that does not apply is empty.

#include "calendar/LunarCore.h"

#include <climits>
#include <string>

class TChnCal {
public:
    int LunarYear = 0;
    int LunarMonth = 0;
    double Date = 0;
    std::string SolarTerm;
    std::string Holiday;
    std::string LunarMonthText;
    std::string DayGanZhi;
    std::string YearGanZhi;
    std::string MonthGanZhi;
    std::string LunarHoliday;
    std::string LunarYearText;
    std::string LunarDayText;
    std::string Animal;
    std::string Constellation;
    std::string EraName;

    // Fills the fields for the date value. For a year outside the engine's
    // range only Date changes; every text keeps what it held.
    // CalcPath::Uncached recomputes everything from scratch (for comparisons).
    void Compute(double date, CalcPath path = CalcPath::Cached);

private:
    // The era text depends on the Gregorian year alone; the last one looked
    // up is kept so that the days of one year share it.
    int eraYear_ = INT_MIN;
    std::string eraText_;
};
