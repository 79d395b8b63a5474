#include "calendar/LunarCore.h"

#include "calendar/DateValue.h"
#include "calendar/DayNumbers.h"
#include "calendar/EngineMath.h"
#include "calendar/LeapMonthTables.h"
#include "calendar/NewMoons.h"
#include "calendar/YearMemo.h"

namespace {

constexpr int kLunarEpochDayNumber = -310443;  // GetDayNumber(-849, 1, 21)
constexpr double kSynodicMonth = 29.530588;

// The calendar switch: 1582-10-04 (Julian) was followed by 1582-10-15
// (Gregorian); the ten dates between never existed.
constexpr int kSwitchYear = 1582;
constexpr int kSwitchMonth = 10;
constexpr int kLastJulianDay = 4;
constexpr int kFirstGregorianDay = 15;
constexpr int kGapDays = kFirstGregorianDay - kLastJulianDay - 1;

bool InTableRange(int year) { return year >= kFirstTableYear && year <= kLastTableYear; }

// Day 0 of the year (the day before 1 January) in the Julian or the
// Gregorian calendar.
long long DayZeroOfYear(int year, bool gregorian)
{
    return gregorian ? qn::GregorianDayZeroOfYear(year) : qn::JulianDayZeroOfYear(year);
}

// Days by which the labelled lunar day is shifted in a few months where the
// new moon fell within minutes of midnight and the series lands on the wrong
// side of it. Month and day bounds are inclusive.
struct LunarDayWindow {
    int year;
    long long from;  // month * 100 + day
    long long to;
    int shift;
};
constexpr LunarDayWindow kLunarDayWindows[] = {
    {1914, 1117, 1216, +1}, {1916, 203, 303, +1}, {1920, 1110, 1209, +1}, {1924, 305, 403, +1}, {2018, 1107, 1206, -1},
};

int ApplyLunarDayWindow(int year, int month, int day, int lunarDay)
{
    const long long monthDay = month * 100LL + day;
    for (const auto& w : kLunarDayWindows) {
        if (w.year != year || monthDay < w.from || monthDay > w.to)
            continue;
        lunarDay += w.shift;
        if (lunarDay == 31)
            lunarDay = 1;
        else if (lunarDay == 0)
            lunarDay = 30;
    }
    return lunarDay;
}

int LunarDayFromSeries(const NewMoonSeries& series, int dayNumber)
{
    int result = -1;
    for (const int newMoon : series.day) {
        const long long since = static_cast<long long>(dayNumber) - newMoon;
        if (since >= 0 && since <= 29)
            result = static_cast<int>(since) + 1;
    }
    return result;
}

constinit YearMemo<NewMoonSeries, kFirstTableYear, kLastTableYear> newMoonMemo;

NewMoonSeries NewMoonsOf(int year, CalcPath path)
{
    if (path == CalcPath::Uncached)
        return ComputeNewMoonSeries(year);
    return newMoonMemo.Get(year, ComputeNewMoonSeries);
}

// Years whose day numbers and lunations no longer fit the engine's integers;
// they have no new moon to offer.
constexpr int kSaneYearLimit = 1000000;

int LunarDayOf(int year, int month, int day, CalcPath path)
{
    if (year < -kSaneYearLimit || year > kSaneYearLimit)
        return -1;
    const int lunarDay = LunarDayFromSeries(NewMoonsOf(year, path), GetDayNumber(year, month, day));
    if (lunarDay < 0)
        return lunarDay;
    return ApplyLunarDayWindow(year, month, day, lunarDay);
}

int FloorMod(long long value, int divisor)
{
    const long long r = value % divisor;
    return static_cast<int>(r < 0 ? r + divisor : r);
}

// The month count rule, given the lunar day of the date.
int LunarMonthOf(int year, int month, int day, int lunarDay)
{
    const int l = FloorMod(lunarDay, 100);
    const double months =
        static_cast<double>(static_cast<long long>(GetDayNumber(year, month, day)) - kLunarEpochDayNumber - l)
        / kSynodicMonth;
    long long g = RoundHalfEven(months) - GetLeapMonthCount(year);
    g -= 3;
    if (year >= 238 && year <= 240)
        g += 1;
    if (year >= 9 && year <= 23)
        g += 1;
    if (year <= -255)
        g += 1;
    if (year <= -256)
        g += 2;
    if (year <= -722)
        g += 1;
    // g only goes negative for the first twenty days of -849; count those
    // back into the last months of a cycle.
    int m = FloorMod(g, 12) + 1;

    const int previousCode = year > kFirstTableYear ? GetLeapMonthCode(year - 1) : -1;
    if (previousCode == m && month == 1 && day < l)
        return -m;
    const int q = GetLeapMonthCode(year);
    if (q == m) {
        if (month <= 2 && q != 12)
            return m + 1;
        return -m;
    }
    if (q > m || (month < m && q > 0)) {
        ++m;
        if (m == 13)
            m = 1;
    }
    return m;
}

struct SolarDay {
    bool found = false;
    int year = 0;
    int month = 0;
    int day = 0;
};

SolarDay FindLunarNewYear(int year, CalcPath path)
{
    SolarDay first;
    first.found = LunarToSolar(year, 1, 1, false, first.year, first.month, first.day, path);
    return first;
}

constinit YearMemo<SolarDay, kFirstTableYear, kLastTableYear> newYearMemo;

SolarDay LunarNewYearOf(int year, CalcPath path)
{
    if (path == CalcPath::Uncached)
        return FindLunarNewYear(year, path);
    return newYearMemo.Get(year, [](int y) { return FindLunarNewYear(y, CalcPath::Cached); });
}

}  // namespace

int GetCalendarKind(int Year, int Month, int Day)
{
    if (Year < kSwitchYear || (Year == kSwitchYear && Month < kSwitchMonth)
        || (Year == kSwitchYear && Month == kSwitchMonth && Day <= kLastJulianDay))
        return 1;
    if (Year == kSwitchYear && Month == kSwitchMonth && Day > kLastJulianDay && Day < kFirstGregorianDay)
        return 0;
    return 2;
}

bool IsSolarLeapYear(int Year)
{
    if (GetCalendarKind(Year, 1, 1) == 2)
        return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
    if (Year >= 0)
        return Year % 4 == 0;
    return (static_cast<long long>(Year) - 3) % 4 == 0;
}

int GetMonthDays(int Year, int Month)
{
    switch (Month) {
    case 2: return IsSolarLeapYear(Year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12: return 31;
    default: return 0;
    }
}

int GetDayOfYear(int Year, int Month, int Day)
{
    static constexpr int kBefore[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    long long days = 0;
    if (Month > 12)  // past December every real month has been counted
        days = 365 + (IsSolarLeapYear(Year) ? 1 : 0);
    else if (Month >= 1)
        days = kBefore[Month] + (Month > 2 && IsSolarLeapYear(Year) ? 1 : 0);
    return static_cast<int>(days + Day);
}

int GetRealMonthDays(int Year, int Month)
{
    const int days = GetMonthDays(Year, Month);
    return Year == kSwitchYear && Month == kSwitchMonth ? days - kGapDays : days;
}

int GetRealDayOfYear(int Year, int Month, int Day)
{
    // Both ends through the serial day: the year began under the Julian rule
    // in 1582 and the date may lie under the Gregorian one.
    return static_cast<int>(HistoricalDayNumber(Year, Month, Day) - HistoricalDayNumber(Year, 1, 0));
}

void RealDayOfYearToDate(int Year, int DayOfYear, int& Month, int& Day)
{
    int month = 1;
    while (month < 12 && DayOfYear > GetRealMonthDays(Year, month)) {
        DayOfYear -= GetRealMonthDays(Year, month);
        ++month;
    }
    // October 1582 skips from its 4th day to the 15th.
    if (Year == kSwitchYear && month == kSwitchMonth && DayOfYear > kLastJulianDay)
        DayOfYear += kGapDays;
    Month = month;
    Day = DayOfYear;
}

long long HistoricalDayNumber(int Year, int Month, int Day)
{
    const bool gregorian = GetCalendarKind(Year, Month, Day) == 2;
    return DayZeroOfYear(Year, gregorian) + GetDayOfYear(Year, Month, Day);
}

int GetDayNumber(int Year, int Month, int Day)
{
    if (GetCalendarKind(Year, Month, Day) == 0)
        return 0;
    // Wraps around for absurd years rather than overflowing.
    return static_cast<int>(HistoricalDayNumber(Year, Month, Day));
}

bool DayNumberToDate(int DayNumber, int& Year, int& Month, int& Day)
{
    if (DayNumber < 0)
        return false;
    if (DayNumber >= qn::kFirstGregorianDayNumber) {
        const qn::CivilDate date = qn::GregorianFromDayNumber(DayNumber);
        Year = date.year;
        Month = date.month;
        Day = date.day;
        return true;
    }
    // A Julian day number from 0 on lies in year 1 or later; start from an
    // estimate and step to the year whose first day is the last one not after
    // the number.
    auto yearStart = [](int y) { return 1 + qn::JulianDayZeroOfYear(y); };
    int y = static_cast<int>(DayNumber / 365.25) + 1;
    while (y > 1 && yearStart(y) > DayNumber)
        --y;
    while (yearStart(y + 1) <= DayNumber)
        ++y;
    int rest = static_cast<int>(DayNumber - yearStart(y)) + 1;
    int m = 1;
    while (m < 12 && rest > GetMonthDays(y, m)) {
        rest -= GetMonthDays(y, m);
        ++m;
    }
    Year = y;
    Month = m;
    Day = rest;
    return true;
}

int CompareSolarDate(int Y1, int M1, int D1, int Y2, int M2, int D2)
{
    if (Y1 != Y2)
        return Y1 > Y2 ? 1 : -1;
    if (M1 != M2)
        return M1 > M2 ? 1 : -1;
    if (D1 != D2)
        return D1 > D2 ? 1 : -1;
    return 0;
}

int CompareLunarDate(int Y1, int M1, int D1, bool Leap1, int Y2, int M2, int D2, bool Leap2)
{
    if (Y1 != Y2)
        return Y1 > Y2 ? 1 : -1;
    if (M1 != M2)
        return M1 > M2 ? 1 : -1;
    if (Leap1 == Leap2) {
        if (D1 != D2)
            return D1 > D2 ? 1 : -1;
        return 0;
    }
    return Leap1 ? 1 : -1;
}

int GetLeapMonthCode(int Year)
{
    if (!InTableRange(Year))
        return -1;
    const char c = LeapMonthCodes[Year - kFirstTableYear];
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'c')
        return c - 'a' + 10;
    return -1;
}

int GetLeapMonth(int Year)
{
    const int code = GetLeapMonthCode(Year);
    return code < 0 ? 0 : code;
}

int GetLeapMonthCount(int Year)
{
    if (Year < kFirstTableYear)
        return LeapMonthCounts.front();
    if (Year > kLastTableYear)
        return LeapMonthCounts.back();
    const int index = Year < 0 ? Year + 849 : (Year == 0 ? -1 + 849 : Year + 848);
    return LeapMonthCounts[static_cast<std::size_t>(index)];
}

int GetLunarDay(int Year, int Month, int Day, CalcPath path) { return LunarDayOf(Year, Month, Day, path); }

int GetLunarMonth(int Year, int Month, int Day, CalcPath path)
{
    return LunarMonthOf(Year, Month, Day, LunarDayOf(Year, Month, Day, path));
}

bool GetLunarMonthDay(int Year, int Month, int Day, int& LunarMonth, int& LunarDay, bool& IsLeap, CalcPath path)
{
    if (!InTableRange(Year))
        return false;
    const int lunarDay = LunarDayOf(Year, Month, Day, path);
    const int signedMonth = LunarMonthOf(Year, Month, Day, lunarDay);
    LunarDay = lunarDay;
    IsLeap = signedMonth < 0;
    LunarMonth = signedMonth < 0 ? -signedMonth : signedMonth;
    return true;
}

bool SolarToLunar(int Year, int Month, int Day, int& LunarYear, int& LunarMonth, int& LunarDay, bool& IsLeap,
                  CalcPath path)
{
    if (!GetLunarMonthDay(Year, Month, Day, LunarMonth, LunarDay, IsLeap, path))
        return false;
    LunarYear = Year;
    const SolarDay newYear = LunarNewYearOf(Year, path);
    if (newYear.found && CompareSolarDate(Year, Month, Day, newYear.year, newYear.month, newYear.day) < 0)
        LunarYear = Year - 1;
    return true;
}

bool LunarToSolar(int LunarYear, int LunarMonth, int LunarDay, bool IsLeap, int& Year, int& Month, int& Day,
                  CalcPath path)
{
    if (IsLeap && GetLeapMonth(LunarYear) != LunarMonth)
        return false;
    // Outside the table every probe fails anyway; stopping here keeps the
    // day-number arithmetic away from absurd years.
    if (!InTableRange(LunarYear))
        return false;

    enum class Direction { None, Up, Down };
    int lo = GetDayNumber(LunarYear, 1, 1);
    int hi = GetDayNumber(LunarYear + 1, 12, 31);
    int trackedYear = LunarYear;
    int previousMonth = 0;
    Direction direction = Direction::None;
    bool late = false;
    int iterations = 0;

    while (hi > lo) {
        if (++iterations > 100)
            return false;
        const int mid = (lo + hi) / 2 + (late ? 1 : 0);
        if (hi - lo == 1)
            late = true;
        int y = 0, m = 0, d = 0;
        if (!DayNumberToDate(mid, y, m, d))
            return false;
        int lm = 0, ld = 0;
        bool lf = false;
        if (!GetLunarMonthDay(y, m, d, lm, ld, lf, path)) {
            // Only a probe past the end of the table (year 2101) can fail here.
            // It lies after any date of the wanted year; the year tracking
            // starts afresh from the next probe.
            hi = mid;
            direction = Direction::None;
            continue;
        }
        if (direction == Direction::Up && lm < previousMonth)
            ++trackedYear;
        if (direction == Direction::Down && lm > previousMonth)
            --trackedYear;
        const int order = CompareLunarDate(trackedYear, lm, ld, lf, LunarYear, LunarMonth, LunarDay, IsLeap);
        if (order == 0) {
            Year = y;
            Month = m;
            Day = d;
            return true;
        }
        if (order < 0) {
            lo = mid;
            direction = Direction::Up;
        } else {
            hi = mid;
            direction = Direction::Down;
        }
        previousMonth = lm;
    }
    return false;
}

qn::CivilDate DateOfValue(double date) { return qn::DecodeDate(date); }

bool DateToLunar(double date, int& LunarYear, int& LunarMonth, int& LunarDay, bool& IsLeap, CalcPath path)
{
    const qn::CivilDate c = DateOfValue(date);
    return SolarToLunar(c.year, c.month, c.day, LunarYear, LunarMonth, LunarDay, IsLeap, path);
}
