#include "calendar_control/CalendarDayTips.h"

#include "calendar/Almanac.h"
#include "holidays/HolidayTexts.h"

namespace {

void AddLine(QStringList& lines, const std::string& text)
{
    if (text.empty())
        return;
    const QString line = QString::fromStdString(text);
    if (!lines.contains(line))
        lines << line;
}

}  // namespace

QStringList DayTipLines(const TChnCal& day, const qn::HolidayStatus& holiday)
{
    QStringList lines;
    for (const std::string* text : {&day.Holiday, &day.LunarHoliday, &day.SolarTerm})
        AddLine(lines, *text);
    // The almanac is read for the same year, month and day the day's texts
    // were computed for.
    const qn::CivilDate date = DateOfValue(day.Date);
    for (const std::string& text : GetAlmanacTexts(date.year, date.month, date.day))
        AddLine(lines, text);
    AddLine(lines, qn::HolidayDescription(holiday));
    return lines;
}

QStringList DayTipLines(double date, const qn::HolidayStatus& holiday)
{
    TChnCal day;
    day.Compute(date);
    return DayTipLines(day, holiday);
}
