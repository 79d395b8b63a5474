#pragma once
// Texts of a lunar month and a lunar day.

#include <array>
#include <string>
#include <string_view>

// 一 … 十 for the numbers 1..10 (DayNumerals[n - 1]).
inline constexpr std::array<std::string_view, 10> DayNumerals = {"一", "二", "三", "四", "五",
                                                                 "六", "七", "八", "九", "十"};
// The tens of a lunar day: 初 for 1..9, 十 for 11..19, 廿 for 21..29.
inline constexpr std::array<std::string_view, 6> DayPrefixes = {"初", "十", "廿", "卅", "二", "三"};
// 正 … 腊 for the months 1..12 (LunarMonthNames[m - 1]).
inline constexpr std::array<std::string_view, 12> LunarMonthNames = {"正", "二", "三", "四", "五", "六",
                                                                     "七", "八", "九", "十", "冬", "腊"};

// "初一" … "三十"; empty outside 1..30.
std::string GetLunarDayText(int day);
// "正月" … "腊月" for an ordinary month; "闰" and the name without "月" for a
// leap month ("闰二", "闰冬"), so both are two characters wide. Empty outside 1..12.
std::string GetLunarMonthText(int month, bool isLeap);
