#include "calendar/GanZhi.h"

#include "calendar/DayNumbers.h"
#include "calendar/EngineMath.h"
#include "calendar/SolarTerms.h"

#include <cmath>

namespace {

int Wrap(long long value, int cycle)
{
    const long long r = value % cycle;
    return static_cast<int>(r < 0 ? r + cycle : r);
}

int YearGanZhiOf(long long year)
{
    // Year -1 directly precedes year 1.
    return Wrap(year > 0 ? year - 4 : year - 3, 60);
}

long long CycleDayCount(int Year, int Month, int Day)
{
    // From year 1 on the cycle counts the engine's day numbers, the dates of
    // the 1582 gap read as Julian dates. Years before 1 keep the cycle's own
    // count, in which year -1 runs straight on into year 1.
    if (Year >= 1)
        return HistoricalDayNumber(Year, Month, Day) + qn::kCycleCountOffset;
    const long long dayOfYear = GetDayOfYear(Year, Month, Day);
    const long long y = Year;
    if (y == 0)
        return dayOfYear;
    return 365 * y + dayOfYear - (3 - y) / 4;
}

int TermDayFloor(int Year, int N, CalcPath path) { return FloorToInt(GetTermDayOfYear(Year, N, path)); }

}  // namespace

std::string_view GetGanZhiText(int index)
{
    if (index < 0 || index > 59)
        return {};
    return GanZhiNames[static_cast<std::size_t>(index)];
}

int CombineGanZhi(int stem, int branch)
{
    if (stem < 0 || stem > 9 || branch < 0 || branch > 11)
        return -1;
    for (int j = 0; j <= 6; ++j) {
        if ((stem + 10 * j) % 12 == branch)
            return stem + 10 * j;
    }
    return -1;
}

bool SplitGanZhi(int index, int& stem, int& branch)
{
    if (index < 0 || index > 59) {
        stem = -1;
        branch = -1;
        return false;
    }
    stem = index % 10;
    branch = index % 12;
    return true;
}

int GetYearGanZhi(int year) { return YearGanZhiOf(year); }

int GetDateYearGanZhi(int Year, int Month, int Day, CalcPath path)
{
    if (GetRealDayOfYear(Year, Month, Day) < TermDayFloor(Year, 3, path))
        return YearGanZhiOf(Year - 1LL);
    return GetYearGanZhi(Year);
}

void GetSolarMonth(int Year, int Month, int Day, int& SolarYear, int& SolarMonth, CalcPath path)
{
    // Term days count the days the year really had.
    const int d = GetRealDayOfYear(Year, Month, Day);
    if (d < TermDayFloor(Year, 3, path)) {
        SolarYear = static_cast<int>(Year - 1LL);
        SolarMonth = d < TermDayFloor(Year, 1, path) ? 11 : 12;
        return;
    }
    SolarYear = Year;
    SolarMonth = 0;
    for (int i = 1; i <= 12 && d >= TermDayFloor(Year, 2 * i + 1, path); ++i)
        SolarMonth = i;
}

int GetMonthGanZhi(int Year, int Month, int Day, CalcPath path)
{
    int solarYear = 0, solarMonth = 0;
    GetSolarMonth(Year, Month, Day, solarYear, solarMonth, path);
    // Stem of the first month for each year stem: 甲己 丙, 乙庚 戊, 丙辛 庚, 丁壬 壬, 戊癸 甲.
    static constexpr int kFirstMonthStem[10] = {2, 4, 6, 8, 0, 2, 4, 6, 8, 0};
    const int yearStem = YearGanZhiOf(solarYear) % 10;
    const int stem = Wrap(kFirstMonthStem[yearStem] + solarMonth - 1, 10);
    const int branch = Wrap(solarMonth + 1, 12);
    return CombineGanZhi(stem, branch);
}

int GetCycleDayCount(int Year, int Month, int Day) { return static_cast<int>(CycleDayCount(Year, Month, Day)); }

int GetDayGanZhi(int Year, int Month, int Day) { return Wrap(CycleDayCount(Year, Month, Day) + 12, 60); }

int GetAnimal(int year) { return Wrap(year > 0 ? year - 4LL : year - 3LL, 12); }

std::string_view GetAnimalText(int animal)
{
    if (animal < 0 || animal > 11)
        return {};
    return AnimalNames[static_cast<std::size_t>(animal)];
}

int GetConstellation(int Month, int Day)
{
    const long long c = Month * 100LL + Day;
    if (c < ConstellationStarts[0])
        return 9;
    int last = 0;
    for (int i = 0; i < 12; ++i) {
        if (ConstellationStarts[static_cast<std::size_t>(i)] <= c)
            last = i;
    }
    return (last + 10) % 12;
}

std::string_view GetConstellationText(int constellation)
{
    if (constellation < 0 || constellation > 11)
        return {};
    return ConstellationNames[static_cast<std::size_t>(constellation)];
}
