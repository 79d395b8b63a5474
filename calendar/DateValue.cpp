#include "calendar/DateValue.h"

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

// Civil-from-days and days-from-civil after H. Hinnant's algorithms, shifted so
// that day 0 is 1899-12-30 (which is 25569 days before 1970-01-01).
namespace {
constexpr long long kEpochShift = 25569;
}

long long DaysFromCivil(int year, int month, int day)
{
    long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long mp = (month + 9) % 12;
    const long long doy = (153 * mp + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + kEpochShift;
}

CivilDate CivilFromDays(long long days)
{
    long long z = days - kEpochShift + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const long long y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return {static_cast<int>(y), m, d};
}

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
