#pragma once
// The almanac periods and days people look up, beside the festivals:
//   数九  nine periods of nine days from the day of 冬至: "一九", "一九第3天" … "九九第9天";
//   三伏  初伏 from the third 庚 day on or after 夏至 (10 days), 中伏 from the
//         fourth (10 days, or 20 when 末伏 would otherwise start before 立秋),
//         末伏 from the first 庚 day on or after 立秋 (10 days); "初伏", "初伏第3天" …;
//   入梅  the first 丙 day after 芒种; 出梅 the first 未 day after 小暑;
//   小年 (腊月廿三), 龙抬头 (二月初二), 寒食 (the day before 清明), 上巳 (三月初三),
//   中元 (七月十五), 下元 (十月十五) — never in a leap month — and 平安夜 (12-24).
//
// Dates are the date type's year, month and day, handed to the engine as
// the day-information object hands them, so the solar term, the day's stem
// and branch and the lunar date behind each text are the ones shown for that
// day. Everything is worked out once per year and kept; a day's lookup is a
// few comparisons.

#include <string>
#include <vector>

inline constexpr int kFirstAlmanacYear = 1;
inline constexpr int kLastAlmanacYear = 2100;

// The day's almanac texts, in a fixed order: a traditional day first, then
// 入梅 or 出梅, then the 数九 or 三伏 period. Empty for a day without any
// and for a year outside kFirstAlmanacYear..kLastAlmanacYear.
std::vector<std::string> GetAlmanacTexts(int Year, int Month, int Day);

// The same joined by single spaces: "平安夜 一九第4天"; empty when none.
std::string GetAlmanacText(int Year, int Month, int Day);
