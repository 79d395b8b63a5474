#include "calendar/ChnCal.h"

#include "calendar/DateValue.h"
#include "calendar/EraNames.h"
#include "calendar/Festivals.h"
#include "calendar/GanZhi.h"
#include "calendar/LunarTexts.h"
#include "calendar/SolarTerms.h"

void TChnCal::Compute(double date, CalcPath path)
{
    Date = date;
    const qn::CivilDate c = DateOfValue(date);
    const int Y = c.year, M = c.month, D = c.day;

    int ly = 0, lm = 0, ld = 0;
    bool leap = false;
    if (!SolarToLunar(Y, M, D, ly, lm, ld, leap, path))
        return;

    LunarYear = ly;
    LunarYearText = std::to_string(ly);
    YearGanZhi = GetGanZhiText(GetDateYearGanZhi(Y, M, D, path));
    Animal = GetAnimalText(GetAnimal(ly));
    if (path == CalcPath::Uncached) {
        EraName = GetEraText(Y);
    } else {
        if (eraYear_ != Y) {
            eraText_ = GetEraText(Y);
            eraYear_ = Y;
        }
        EraName = eraText_;
    }

    LunarMonth = lm;
    LunarMonthText = GetLunarMonthText(lm, leap);
    MonthGanZhi = GetGanZhiText(GetMonthGanZhi(Y, M, D, path));

    LunarDayText = GetLunarDayText(ld);
    DayGanZhi = GetGanZhiText(GetDayGanZhi(Y, M, D));
    Constellation = GetConstellationText(GetConstellation(M, D));

    Holiday = GetHolidayText(D, date);
    LunarHoliday = GetLunarHolidayText(lm, ld, date, path);
    SolarTerm = GetSolarTermText(Y, M, D, path);
}
