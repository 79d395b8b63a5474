#pragma once
// The sexagenary cycle (干支) of years, months and days, the zodiac animal and
// the western constellation.
//
// A sexagenary index 0..59 names a stem-branch pair: stem = index % 10,
// branch = index % 12. Year and month names follow the solar terms (the year
// turns at 立春, the months at the 节); the animal follows the lunar year.

#include "calendar/LunarCore.h"

#include <array>
#include <string_view>

inline constexpr std::array<std::string_view, 10> StemNames = {"甲", "乙", "丙", "丁", "戊",
                                                               "己", "庚", "辛", "壬", "癸"};
inline constexpr std::array<std::string_view, 12> BranchNames = {"子", "丑", "寅", "卯", "辰", "巳",
                                                                 "午", "未", "申", "酉", "戌", "亥"};
inline constexpr std::array<std::string_view, 12> AnimalNames = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                                 "马", "羊", "猴", "鸡", "狗", "猪"};
inline constexpr std::array<std::string_view, 12> ConstellationNames = {"白羊", "金牛", "双子", "巨蟹", "狮子", "处女",
                                                                        "天秤", "天蝎", "射手", "摩羯", "宝瓶", "双鱼"};
// month * 100 + day on which each constellation of ConstellationNames begins.
inline constexpr std::array<int, 12> ConstellationStarts = {120, 219, 321, 421,  521,  622,
                                                            723, 823, 923, 1023, 1123, 1222};

namespace ganzhi_detail {
// Every stem and branch name is one three-byte UTF-8 character, so the 60
// pair names are built once into a flat buffer of 6-byte entries.
inline constexpr std::size_t kPairBytes = 6;
constexpr std::array<char, 60 * kPairBytes> MakePairBuffer()
{
    std::array<char, 60 * kPairBytes> buffer{};
    for (std::size_t i = 0; i < 60; ++i) {
        const std::string_view stem = StemNames[i % 10];
        const std::string_view branch = BranchNames[i % 12];
        for (std::size_t b = 0; b < 3; ++b) {
            buffer[i * kPairBytes + b] = stem[b];
            buffer[i * kPairBytes + 3 + b] = branch[b];
        }
    }
    return buffer;
}
inline constexpr std::array<char, 60 * kPairBytes> kPairBuffer = MakePairBuffer();
constexpr std::array<std::string_view, 60> MakeGanZhiNames()
{
    std::array<std::string_view, 60> names{};
    for (std::size_t i = 0; i < 60; ++i)
        names[i] = std::string_view(kPairBuffer.data() + i * kPairBytes, kPairBytes);
    return names;
}
}  // namespace ganzhi_detail

// 甲子, 乙丑, … 癸亥.
inline constexpr std::array<std::string_view, 60> GanZhiNames = ganzhi_detail::MakeGanZhiNames();

// GanZhiNames[index], empty outside 0..59.
std::string_view GetGanZhiText(int index);
// The index of a stem and branch, or -1 when they do not form a pair.
int CombineGanZhi(int stem, int branch);
// False, with both outputs -1, outside 0..59.
bool SplitGanZhi(int index, int& stem, int& branch);

int GetYearGanZhi(int year);
// The year a date belongs to turns at 立春 (the day of 立春 is in the new year).
int GetDateYearGanZhi(int Year, int Month, int Day, CalcPath path = CalcPath::Cached);
// The 节 month (1 = 寅 month … 12 = 丑 month) and the year it belongs to.
void GetSolarMonth(int Year, int Month, int Day, int& SolarYear, int& SolarMonth, CalcPath path = CalcPath::Cached);
int GetMonthGanZhi(int Year, int Month, int Day, CalcPath path = CalcPath::Cached);
// Continuous day count for the day names: from year 1 on the day number plus
// qn::kCycleCountOffset (DayNumbers.h), a gap date counted as Julian.
int GetCycleDayCount(int Year, int Month, int Day);
int GetDayGanZhi(int Year, int Month, int Day);

// 0..11 for a lunar year.
int GetAnimal(int year);
std::string_view GetAnimalText(int animal);
// 0..11 for a solar month and day.
int GetConstellation(int Month, int Day);
std::string_view GetConstellationText(int constellation);
