#include "calendar_control/CalendarDayTips.h"

QStringList DayTipLines(const TChnCal& day)
{
    QStringList lines;
    for (const std::string* text : {&day.Holiday, &day.LunarHoliday, &day.SolarTerm}) {
        if (!text->empty())
            lines << QString::fromStdString(*text);
    }
    return lines;
}

QStringList DayTipLines(double date)
{
    TChnCal day;
    day.Compute(date);
    return DayTipLines(day);
}
