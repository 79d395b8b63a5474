#include "calendar/DateValue.h"

#include "calendar/DayNumbers.h"

#include <cmath>
#include <cstdio>

namespace qn {

bool IsGregorianLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInGregorianMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && IsGregorianLeapYear(year))
        return 29;
    return kDays[month - 1];
}

bool IsValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && day >= 1 && day <= DaysInGregorianMonth(year, month);
}

// Date values count days from day 0 = 1899-12-30; the calendar arithmetic is
// that of the day numbers every calendar converts through.
long long DaysFromCivil(int year, int month, int day)
{
    return DayNumberFromGregorian(year, month, day) - kDayNumberOfDateValueZero;
}

CivilDate CivilFromDays(long long days) { return GregorianFromDayNumber(days + kDayNumberOfDateValueZero); }

double EncodeDate(int year, int month, int day) { return static_cast<double>(DaysFromCivil(year, month, day)); }

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec)
{
    const double date = EncodeDate(year, month, day);
    const double time = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / 86400000.0;
    return date < 0 ? date - time : date + time;
}

namespace {
long long WholeDay(double value) { return static_cast<long long>(std::trunc(value)); }
}  // namespace

CivilDate DecodeDate(double value) { return CivilFromDays(WholeDay(value)); }

TimeOfDay DecodeTime(double value)
{
    double fraction = std::fabs(value - std::trunc(value));
    long long ms = std::llround(fraction * 86400000.0);
    if (ms >= 86400000)
        ms = 86399999;
    TimeOfDay t;
    t.msec = static_cast<int>(ms % 1000);
    ms /= 1000;
    t.second = static_cast<int>(ms % 60);
    ms /= 60;
    t.minute = static_cast<int>(ms % 60);
    t.hour = static_cast<int>(ms / 60);
    return t;
}

int IsoWeekday(double value)
{
    // Day 0 (1899-12-30) was a Saturday.
    long long r = (WholeDay(value) + 5) % 7;
    if (r < 0)
        r += 7;
    return static_cast<int>(r) + 1;
}

int SundayFirstWeekday(double value) { return IsoWeekday(value) % 7 + 1; }

int IsoWeekNumber(double value)
{
    const long long day = WholeDay(value);
    // The Thursday of the same ISO week decides the week-numbering year.
    const long long thursday = day - IsoWeekday(value) + 4;
    const CivilDate t = CivilFromDays(thursday);
    const long long jan1 = DaysFromCivil(t.year, 1, 1);
    return static_cast<int>((thursday - jan1) / 7 + 1);
}

std::string DateKey(double value)
{
    const CivilDate d = DecodeDate(value);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", d.year, d.month, d.day);
    return buffer;
}

}  // namespace qn
