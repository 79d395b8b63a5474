#include "calendar/Festivals.h"

#include "calendar/DateValue.h"

namespace {

struct SolarFestival {
    int month;
    int day;      // 0: by weekday
    int weekday;  // Monday = 1 … Sunday = 7, for festivals by weekday
    int week;     // the k-th such weekday of the month
    std::string_view text;
};
constexpr SolarFestival kSolarFestivals[] = {
    {1, 1, 0, 0, "元旦节"},  {2, 14, 0, 0, "情人节"},  {3, 8, 0, 0, "妇女节"},   {4, 1, 0, 0, "愚人节"},
    {5, 1, 0, 0, "劳动节"},  {5, 4, 0, 0, "青年节"},   {5, 0, 7, 2, "母亲节"},   {6, 1, 0, 0, "儿童节"},
    {6, 0, 7, 3, "父亲节"},  {7, 1, 0, 0, "建党节"},   {8, 1, 0, 0, "建军节"},   {9, 10, 0, 0, "教师节"},
    {10, 1, 0, 0, "国庆节"}, {10, 6, 0, 0, "老人节"},  {10, 31, 0, 0, "万圣节"}, {11, 8, 0, 0, "记者日"},
    {11, 0, 4, 4, "感恩节"}, {12, 25, 0, 0, "圣诞节"},
};

struct LunarFestival {
    int month;
    int day;
    std::string_view text;
};
constexpr LunarFestival kLunarFestivals[] = {
    {1, 1, "春节"},    {1, 15, "元宵节"}, {5, 5, "端午节"},  {7, 7, "七夕节"},
    {8, 15, "中秋节"}, {9, 9, "重阳节"},  {12, 8, "腊八节"},
};

bool IsFestivalDay(int lunarDay)
{
    return lunarDay == 1 || lunarDay == 5 || lunarDay == 7 || lunarDay == 8 || lunarDay == 9 || lunarDay == 15;
}

}  // namespace

std::string_view GetHolidayText(int dayOfMonth, double date)
{
    const int month = DateOfValue(date).month;
    const int weekday = qn::IsoWeekday(date);
    std::string_view text;
    for (const auto& f : kSolarFestivals) {
        if (f.month != month)
            continue;
        const bool matches =
            f.day != 0 ? dayOfMonth == f.day : weekday == f.weekday && (dayOfMonth - 1) / 7 == f.week - 1;
        if (matches)
            text = f.text;
    }
    return text;
}

std::string_view GetLunarHolidayText(int lunarMonth, int lunarDay, double date, CalcPath path)
{
    if (IsFestivalDay(lunarDay)) {
        for (const auto& f : kLunarFestivals) {
            if (f.month == lunarMonth && f.day == lunarDay)
                return f.text;
        }
        return {};
    }
    if (lunarMonth != 12)
        return {};
    // The next calendar day, taken from the whole day of the date: adding 1
    // to a value between -1 and 0 (a time on 1899-12-30) would land on the
    // same day again.
    const qn::CivilDate today = DateOfValue(date);
    const qn::CivilDate next = qn::CivilFromDays(qn::DaysFromCivil(today.year, today.month, today.day) + 1);
    int ly = 0, lm = 0, ld = 0;
    bool leap = false;
    if (SolarToLunar(next.year, next.month, next.day, ly, lm, ld, leap, path) && lm == 1 && ld == 1)
        return "除夕";
    return {};
}
