#include "calendar/DayNumbers.h"

namespace qn {

namespace {
// 1970-01-01, from which H. Hinnant's civil-date algorithms count.
constexpr long long kDayNumberOf1970 = 719163;
}  // namespace

long long DayNumberFromGregorian(int year, int month, int day)
{
    long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long mp = (month + 9) % 12;
    const long long doy = (153 * mp + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + kDayNumberOf1970;
}

CivilDate GregorianFromDayNumber(long long dayNumber)
{
    const long long z = dayNumber - kDayNumberOf1970 + 719468;
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

long long JulianDayZeroOfYear(long long year)
{
    const long long e = year - 1;
    return 365 * e + e / 4 - 2;
}

long long GregorianDayZeroOfYear(long long year)
{
    const long long e = year - 1;
    return 365 * e + e / 4 - e / 100 + e / 400;
}

}  // namespace qn
