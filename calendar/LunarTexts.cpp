#include "calendar/LunarTexts.h"

std::string GetLunarDayText(int day)
{
    if (day < 1 || day > 30)
        return {};
    const int units = day % 10;
    const int tens = day / 10;
    if (units == 0) {
        switch (tens) {
        case 1: return "初十";
        case 2: return "二十";
        default: return "三十";
        }
    }
    std::string text(DayPrefixes[static_cast<std::size_t>(tens)]);
    text += DayNumerals[static_cast<std::size_t>(units - 1)];
    return text;
}

std::string GetLunarMonthText(int month, bool isLeap)
{
    if (month < 1 || month > 12)
        return {};
    const std::string_view name = LunarMonthNames[static_cast<std::size_t>(month - 1)];
    std::string text;
    if (isLeap) {
        text = "闰";
        text += name;
    } else {
        text = name;
        text += "月";
    }
    return text;
}
