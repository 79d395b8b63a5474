#include "calendar/SolarTerms.h"

#include "calendar/DateValue.h"
#include "calendar/EngineMath.h"
#include "calendar/LeapMonthTables.h"
#include "calendar/YearMemo.h"

#include <cmath>

namespace {

// Terms whose moment the formula puts a few minutes on the wrong side of
// midnight, China time; the day is moved to the one of the official calendar.
struct TermCorrection {
    int year;
    int n;
    int days;
};
constexpr TermCorrection kTermCorrections[] = {
    {1911, 9, +1},  {1912, 19, +1}, {1923, 4, -1},  {1979, 2, -1},  {2016, 13, +1},
    {2020, 23, +1}, {2037, 18, +1}, {2040, 19, +1}, {2042, 14, +1}, {2051, 6, -1},
    {2059, 4, +1},  {2083, 3, -1},  {2084, 6, -1},  {2085, 1, -1},  {2097, 9, +1},
};

int TermCorrectionDays(int year, int n)
{
    // Term 25 is the next year's 小寒 and moves with it.
    if (n == 25)
        return year < kLastTableYear ? TermCorrectionDays(year + 1, 1) : 0;
    for (const auto& c : kTermCorrections) {
        if (c.year == year && c.n == n)
            return c.days;
    }
    return 0;
}

double TermFormula(int Year, int N)
{
    const int a = Year > 0 ? Year : Year + 1;
    const double S = (365.2423112 - 6.4e-14 * (a - 100.0) * (a - 100.0) - 3.047e-8 * (a - 100.0)) * a + 15.218427 * N
        + 1721050.71301;
    const double E = 0.0003 * a - 0.372781384 - 0.2617913325 * N;
    const double P = (1.945 * std::sin(E) - 0.01206 * std::sin(2 * E)) * (1.048994 - 2.583e-5 * a);
    const double Q = -0.0018 * std::sin(2.313908653 * a - 0.439822951 - 3.0443 * N);
    return S + P + Q - GetDayNumber(a, 1, 0) - 1721425;
}

double TermDay(int Year, int N) { return TermFormula(Year, N) + TermCorrectionDays(Year, N); }

struct YearTerms {
    std::array<double, 25> day{};  // term numbers 1..25
};

YearTerms ComputeYearTerms(int year)
{
    YearTerms terms;
    for (int n = 1; n <= 25; ++n)
        terms.day[static_cast<std::size_t>(n - 1)] = TermDay(year, n);
    return terms;
}

constinit YearMemo<YearTerms, kFirstTableYear, kLastTableYear> termMemo;

YearTerms TermsOf(int Year, CalcPath path)
{
    if (path == CalcPath::Uncached)
        return ComputeYearTerms(Year);
    return termMemo.Get(Year, ComputeYearTerms);
}

}  // namespace

double GetTermDayOfYear(int Year, int N, CalcPath path)
{
    if (path == CalcPath::Uncached || N < 1 || N > 25)
        return TermDay(Year, N);
    return TermsOf(Year, path).day[static_cast<std::size_t>(N - 1)];
}

bool GetTermDate(int Year, int I, int& Month, int& Day, CalcPath path)
{
    if (I < 0 || I > 23)
        return false;
    // The whole part is the day of the year, in the days the year really had;
    // walk it through the months. (Walking the fraction along would turn a
    // term on the last day of a month into day 0 of the next one.)
    RealDayOfYearToDate(Year, FloorToInt(GetTermDayOfYear(Year, I + 1, path)), Month, Day);
    return true;
}

std::string_view GetTermName(int position)
{
    if (position < 0 || position > 23)
        return {};
    return TermNames[static_cast<std::size_t>(position)];
}

std::string_view GetSolarTermText(int Year, int Month, int Day, CalcPath path)
{
    // Only a day that existed can have a term.
    if (Month < 1 || Month > 12 || Day < 1 || Day > GetMonthDays(Year, Month) || GetCalendarKind(Year, Month, Day) == 0)
        return {};
    // Every term of the year is looked at, not only the two that fall in the
    // date's month today: in the Julian centuries the terms drift out of their
    // months (by 1500 every 节 falls in the month before). Term 25, the
    // next year's 小寒, can fall at the end of December, so a Julian year can
    // hold two 小寒 and the next none.
    const int dayOfYear = GetRealDayOfYear(Year, Month, Day);
    const YearTerms terms = TermsOf(Year, path);
    for (int n = 1; n <= 25; ++n) {
        const int termDay = FloorToInt(terms.day[static_cast<std::size_t>(n - 1)]);
        if (termDay == dayOfYear)
            return TermNames[static_cast<std::size_t>((n + 21) % 24)];
        if (termDay > dayOfYear)  // the terms come in order
            break;
    }
    return {};
}

std::string_view GetSolarTermText(double date, CalcPath path)
{
    const qn::CivilDate c = DateOfValue(date);
    return GetSolarTermText(c.year, c.month, c.day, path);
}
