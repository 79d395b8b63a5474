#pragma once
// Date values: a double counting days since 30 December 1899 (day 0), the
// fraction giving the time of day. Dates are proleptic Gregorian. For days
// before day 0 the fraction still counts forward from midnight: -1.25 is
// 29 December 1899 at 06:00 (the integer part is the day, |fraction| the time).
//
// This is the one place that turns date values into calendar numbers and back;
// the engine, the calendar control and the notebook all go through it.

#include <string>

namespace qn {

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int msec = 0;
};

bool IsGregorianLeapYear(int year);
int DaysInGregorianMonth(int year, int month);   // 0 for a month outside 1..12
bool IsValidDate(int year, int month, int day);  // years 1..9999, like the date type

// Whole days since 1899-12-30 of a proleptic Gregorian date (no validation):
// the date's day number (DayNumbers.h) less that of 1899-12-30.
long long DaysFromCivil(int year, int month, int day);
CivilDate CivilFromDays(long long days);

// Encode a date (time 00:00). The date must be valid.
double EncodeDate(int year, int month, int day);
// Encode a date and a time of day; keeps the sign rule above for days before day 0.
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec = 0);

CivilDate DecodeDate(double value);
TimeOfDay DecodeTime(double value);

// Monday = 1 ... Sunday = 7.
int IsoWeekday(double value);
// Sunday = 1 ... Saturday = 7.
int SundayFirstWeekday(double value);
// ISO 8601 week number (1..53) of the date.
int IsoWeekNumber(double value);

// "YYYYMMDD" of the date part, zero-padded: the key of a stored note.
std::string DateKey(double value);

}  // namespace qn
