#pragma once
// The 24 solar terms, from a closed formula in China standard time.
//
// Term number N runs 1..24 through the solar year from 小寒 (1) to 冬至 (24);
// N = 25 is the next year's 小寒, counted past the end of the year. The term
// index used by GetTermDate is N - 1.

#include "calendar/LunarCore.h"

#include <array>
#include <string_view>

// Display order, starting with 立春. Term number N is TermNames[(N + 21) % 24].
inline constexpr std::array<std::string_view, 24> TermNames = {
    "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至", "小暑", "大暑",
    "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒",
};

// The 1-based day of the year on which term N falls, plus the time of day as
// a fraction. The days are those the year really had (GetRealDayOfYear). Includes the day corrections of the few terms that the formula
// puts on the wrong side of midnight.
double GetTermDayOfYear(int Year, int N, CalcPath path = CalcPath::Cached);
// Month and day of term index I (0..23); false for any other index. A term
// of a Julian year that falls in the year before (only 小寒 does) comes out
// as a day 0 or less of January.
bool GetTermDate(int Year, int I, int& Month, int& Day, CalcPath path = CalcPath::Cached);
// TermNames[position], empty outside 0..23.
std::string_view GetTermName(int position);
// The name of the term that falls on the date, whatever its month, or empty.
// The dates of the 1582 gap name no term.
std::string_view GetSolarTermText(double date, CalcPath path = CalcPath::Cached);
std::string_view GetSolarTermText(int Year, int Month, int Day, CalcPath path = CalcPath::Cached);
