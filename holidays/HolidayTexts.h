#pragma once
// Every text the program shows for a statutory holiday comes from here, so
// the calendar, the week board and qncal say the same thing.

#include "holidays/HolidayCalendar.h"

#include <string>

namespace qn {

// Shown where a year has no notice: nobody should plan on a guess.
inline constexpr const char* kNoHolidayDataText = "无数据";

// The corner mark of a day: "休", "班", or empty.
std::string HolidayMark(const HolidayStatus& status);

// The tooltip text: "春节 休", "春节调休 上班", or empty (an ordinary day, or
// a year without data).
std::string HolidayDescription(const HolidayStatus& status);

// The value of the "法定" line of a day's field list: HolidayDescription, or
// "无数据" for a year without data (empty for an ordinary day).
std::string HolidayFieldText(const HolidayStatus& status);

// The tab-separated column: "休 春节", "班 春节", or empty.
std::string HolidayTsvText(const HolidayStatus& status);

// A day header with the mark appended: "周 六/日" → "周 六/日 · 休"; the
// header unchanged when the day is neither.
std::string WithHolidayMark(const std::string& header, const HolidayStatus& status);

// The mark of one header over two days (Saturday and Sunday share a box):
// one mark when only one day has one or both have the same ("休"), both in
// the days' order when they differ ("班/休": Saturday worked, Sunday off).
std::string HolidayMarkOfDays(const HolidayStatus& first, const HolidayStatus& second);

// A two-day header with its mark appended: "周 六/日" → "周 六/日 · 班/休".
std::string WithHolidayMark(const std::string& header, const HolidayStatus& first, const HolidayStatus& second);

}  // namespace qn
