#pragma once
// Gregorian and lunar festivals of a day.

#include "calendar/LunarCore.h"

#include <string_view>

// The Gregorian festival of a date (month, day and weekday of the date value;
// dayOfMonth is the day of that date), or empty.
std::string_view GetHolidayText(int dayOfMonth, double date);
// The lunar festival of a lunar month and day, or empty. A leap month has the
// festivals of its ordinary month. 除夕 is the last day of month 12, found
// by asking whether the next day is the first of month 1.
std::string_view GetLunarHolidayText(int lunarMonth, int lunarDay, double date, CalcPath path = CalcPath::Cached);
