#include "core/DayTexts.h"

#include "calendar/ChnCal.h"
#include "calendar/DateValue.h"

namespace qn {

std::optional<int> DayNumberOfKey(std::string_view key)
{
    if (key.size() != 8)
        return std::nullopt;
    int number = 0;
    for (const char c : key) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (!IsValidDate(number / 10000, number / 100 % 100, number % 100))
        return std::nullopt;
    return number;
}

std::optional<double> DateOfKey(std::string_view key)
{
    const std::optional<int> number = DayNumberOfKey(key);
    if (!number)
        return std::nullopt;
    return EncodeDate(*number / 10000, *number / 100 % 100, *number % 100);
}

QString IsoDateText(double date)
{
    const CivilDate d = DecodeDate(date);
    return QStringLiteral("%1-%2-%3")
        .arg(d.year, 4, 10, QLatin1Char('0'))
        .arg(d.month, 2, 10, QLatin1Char('0'))
        .arg(d.day, 2, 10, QLatin1Char('0'));
}

QString LunarDateText(double date)
{
    // A fresh object: outside the calendar's years its texts stay empty.
    TChnCal cal;
    cal.Compute(date);
    return QString::fromStdString(cal.LunarMonthText + cal.LunarDayText);
}

QString NoteDayWord(double date)
{
    static const char* const kWords[] = {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六/日", "星期六/日"};
    return QString::fromUtf8(kWords[IsoWeekday(date) - 1]);
}

}  // namespace qn
