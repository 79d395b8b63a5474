#include "GanZhi.h"

#include "SolarTerms.h"

#include <cmath>

namespace {

int Wrap(int value, int cycle)
{
    const int r = value % cycle;
    return r < 0 ? r + cycle : r;
}

int TermDayFloor(int Year, int N, CalcPath path)
{
    return static_cast<int>(std::floor(GetTermDayOfYear(Year, N, path)));
}

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

int GetYearGanZhi(int year)
{
    // Year -1 directly precedes year 1.
    return Wrap(year > 0 ? year - 4 : year - 3, 60);
}

int GetDateYearGanZhi(int Year, int Month, int Day, CalcPath path)
{
    if (GetDayOfYear(Year, Month, Day) < TermDayFloor(Year, 3, path))
        return GetYearGanZhi(Year - 1);
    return GetYearGanZhi(Year);
}

void GetSolarMonth(int Year, int Month, int Day, int& SolarYear, int& SolarMonth, CalcPath path)
{
    const int d = GetDayOfYear(Year, Month, Day);
    if (d < TermDayFloor(Year, 3, path)) {
        SolarYear = Year - 1;
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
    const int yearStem = GetYearGanZhi(solarYear) % 10;
    const int stem = Wrap(kFirstMonthStem[yearStem] + solarMonth - 1, 10);
    const int branch = Wrap(solarMonth + 1, 12);
    return CombineGanZhi(stem, branch);
}

int GetCycleDayCount(int Year, int Month, int Day)
{
    const int dayOfYear = GetDayOfYear(Year, Month, Day);
    if (Year == 0)
        return dayOfYear;
    if (Year < 0)
        return 365 * Year + dayOfYear - (3 - Year) / 4;
    int c = 0;
    if (GetCalendarKind(Year, Month, Day) == 2)
        c = Year <= 1700 ? 10 : 10 + (Year - 1701) / 100 + 1 - (Year - 1601) / 400;
    return 365 * (Year - 1) + (Year - 1) / 4 + dayOfYear - c;
}

int GetDayGanZhi(int Year, int Month, int Day)
{
    return Wrap(GetCycleDayCount(Year, Month, Day) + 12, 60);
}

int GetAnimal(int year)
{
    return Wrap(year > 0 ? year - 4 : year - 3, 12);
}

std::string_view GetAnimalText(int animal)
{
    if (animal < 0 || animal > 11)
        return {};
    return AnimalNames[static_cast<std::size_t>(animal)];
}

int GetConstellation(int Month, int Day)
{
    const int c = Month * 100 + Day;
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
