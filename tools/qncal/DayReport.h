#pragma once
// What qncal says about one day: the info line, the labelled field list and
// the tab-separated line. Dates are the date type's days (proleptic
// Gregorian), handed to the engine unchanged as the calendar control does.

#include "calendar/ChnCal.h"
#include "calendar/DateValue.h"
#include "holidays/HolidayCalendar.h"

#include <cstring>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace qncal {

// One day's information: the day-information object plus the lunar day
// number and leap flag, which only the conversion itself reports, the
// statutory holiday status and the almanac texts.
// A further source of day texts adds its fields here, fills them in
// LookUpDay and DayRun::LookUp, and shows them through a row of
// TsvColumns() and of WriteDayFields.
struct DayInfo {
    int year = 0, month = 0, day = 0;
    TChnCal cal;
    int lunarDay = 0;
    bool isLeap = false;
    // 休 or 班 with the holiday's name, an ordinary day, or Unknown for a
    // year no notice covers (and whenever no holiday table was given).
    qn::HolidayStatus statutory;
    // The almanac texts joined by spaces ("平安夜 一九第4天"); empty on
    // most days.
    std::string almanac;
};

// Fills a DayInfo for a valid date of years 1..2100. Without a holiday
// table the statutory status is Unknown.
DayInfo LookUpDay(int year, int month, int day, const qn::HolidayCalendar* holidays = nullptr);
// The same into an existing DayInfo, for runs of many days.
void LookUpDay(DayInfo& into, int year, int month, int day, const qn::HolidayCalendar* holidays = nullptr);

// False for 1582-10-05 .. 1582-10-14, the ten days the calendar reform
// skipped: the calendar has no lunar date for them.
bool DayExists(int year, int month, int day);

// The day after the date (proleptic Gregorian).
qn::CivilDate NextDay(qn::CivilDate date);

// "2010-06-01": four-digit year, two-digit month and day.
std::string FormatDate(int year, int month, int day);
// The same appended to text, without a temporary.
void AppendDate(std::string& text, int year, int month, int day);

// The lunar month and day as one says them: "冬月初二", "闰二月初一".
std::string LunarDateText(const DayInfo& day);

// The lower line of a day cell, as the calendar control picks it: a lunar
// festival, else a solar term, else a Gregorian festival, else the lunar day,
// or the lunar month name on the first day of a lunar month.
std::string LowerLineText(const TChnCal& cal);

// "2010-06-01 农历四月十九"; for years before 1949 the era text stands in
// place of the date: "[清]德宗 爱新觉罗载湉 光绪26年 农历正月十一".
std::string InfoLine(const DayInfo& day);

// Every field of the day, one "label：value" per line.
void WriteDayFields(std::ostream& out, const DayInfo& day);

// Gathers one line of output in a fixed buffer, so that a line costs one
// append to the output however many fields it has. A line too long for the
// buffer carries on in a string.
class LineSink {
public:
    void Put(std::string_view text)
    {
        if (spilled_ || text.size() > static_cast<std::size_t>(buffer_ + sizeof buffer_ - cursor_))
            return Spill(text);
        CopySmall(cursor_, text.data(), text.size());
        cursor_ += text.size();
    }
    void Put(char c)
    {
        if (spilled_ || cursor_ == buffer_ + sizeof buffer_)
            return Spill(std::string_view(&c, 1));
        *cursor_++ = c;
    }
    void PutNumber(int value);
    // YYYY-MM-DD.
    void PutDate(int year, int month, int day);
    // Appends the line to text.
    void AppendTo(std::string& text) const;

private:
    char buffer_[1024];
    char* cursor_ = buffer_;
    bool spilled_ = false;
    std::string long_;

    void Spill(std::string_view text);

    // Most fields are a few bytes: two overlapping fixed-size copies inline
    // beat a call to memcpy.
    static void CopySmall(char* to, const char* from, std::size_t n)
    {
        if (n >= 8 && n <= 16) {
            std::memcpy(to, from, 8);
            std::memcpy(to + n - 8, from + n - 8, 8);
        } else if (n >= 4 && n < 8) {
            std::memcpy(to, from, 4);
            std::memcpy(to + n - 4, from + n - 4, 4);
        } else if (n < 4) {
            for (std::size_t i = 0; i < n; ++i)
                to[i] = from[i];
        } else {
            std::memcpy(to, from, n);
        }
    }
};

// One column of the tab-separated output.
struct TsvColumn {
    std::string_view name;     // as the help text lists it
    std::string_view meaning;  // in Chinese, for the help text
    void (*put)(LineSink& line, const DayInfo& day);
};

// The columns in order; the help text is built from the same table.
std::span<const TsvColumn> TsvColumns();

// The day's columns separated by tabs, and a newline, appended to text.
void AppendTsvLine(std::string& text, const DayInfo& day);

}  // namespace qncal
