#include "tools/qncal/DayReport.h"

#include "calendar/DateValue.h"
#include "calendar/LunarCore.h"
#include "tools/qncal/DisplayWidth.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

namespace qncal {

namespace {

// A grid cell is six columns wide: three Chinese characters ("元宵节").
constexpr int CellWidth = 6;
constexpr std::string_view CellGap = " ";
constexpr int GridWidth = 7 * CellWidth + 6 * static_cast<int>(CellGap.size());

constexpr std::string_view ReverseVideoOn = "\x1b[7m";
constexpr std::string_view ReverseVideoOff = "\x1b[0m";

}  // namespace

void LookUpDay(DayInfo& info, int year, int month, int day)
{
    info.year = year;
    info.month = month;
    info.day = day;
    info.cal.Compute(qn::EncodeDate(year, month, day));
    int lunarYear = 0, lunarMonth = 0;
    info.lunarDay = 0;
    info.isLeap = false;
    SolarToLunar(year, month, day, lunarYear, lunarMonth, info.lunarDay, info.isLeap);
}

namespace {

void WriteTrimmedLine(std::ostream& out, std::string line)
{
    const auto end = line.find_last_not_of(' ');
    line.erase(end == std::string::npos ? 0 : end + 1);
    out << line << '\n';
}

std::string Join(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += CellGap;
        line += cells[i];
    }
    return line;
}

std::string DayNumberCell(int day, bool highlighted)
{
    char number[16];
    std::snprintf(number, sizeof number, "%2d", day);
    std::string cell = Centered(number, CellWidth);
    if (highlighted) {
        // Reverse only the digits, so the padding keeps the columns.
        const auto first = cell.find_first_not_of(' ');
        const auto last = cell.find_last_not_of(' ');
        cell = cell.substr(0, first) + std::string(ReverseVideoOn) + cell.substr(first, last - first + 1)
            + std::string(ReverseVideoOff) + cell.substr(last + 1);
    }
    return cell;
}

}  // namespace

DayInfo LookUpDay(int year, int month, int day)
{
    DayInfo info;
    LookUpDay(info, year, month, day);
    return info;
}

std::string FormatDate(int year, int month, int day)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::string LowerLineText(const TChnCal& cal)
{
    std::string text = cal.LunarDayText != "初一" ? cal.LunarDayText : cal.LunarMonthText;
    for (const std::string* overriding : {&cal.Holiday, &cal.SolarTerm, &cal.LunarHoliday}) {
        if (!overriding->empty())
            text = *overriding;
    }
    return text;
}

std::string InfoLine(const DayInfo& day)
{
    const std::string lunarDate = day.cal.LunarMonthText + day.cal.LunarDayText;
    if (day.year < 1949)
        return day.cal.EraName + " 农历" + lunarDate;
    return FormatDate(day.year, day.month, day.day) + " 农历" + lunarDate;
}

void WriteMonth(std::ostream& out, const MonthView& view)
{
    const DayInfo selected = LookUpDay(view.year, view.month, view.selectedDay);
    const std::string title = std::to_string(view.year) + "年" + std::to_string(view.month) + "月  "
        + selected.cal.YearGanZhi + "年 " + selected.cal.Animal + "年";
    WriteTrimmedLine(out, Centered(title, std::max(GridWidth, DisplayWidth(title))));

    std::vector<std::string> header;
    for (const char* weekday : {"日", "一", "二", "三", "四", "五", "六"})
        header.push_back(Centered(weekday, CellWidth));
    WriteTrimmedLine(out, Join(header));

    const int firstColumn = qn::SundayFirstWeekday(qn::EncodeDate(view.year, view.month, 1)) - 1;
    const int days = qn::DaysInGregorianMonth(view.year, view.month);
    const std::string blank(CellWidth, ' ');
    std::vector<std::string> numbers(7, blank), texts(7, blank);
    TChnCal cal;
    for (int day = 1; day <= days; ++day) {
        const int column = (firstColumn + day - 1) % 7;
        cal.Compute(qn::EncodeDate(view.year, view.month, day));
        numbers[column] = DayNumberCell(day, day == view.highlightDay);
        texts[column] = Centered(LowerLineText(cal), CellWidth);
        if (column == 6 || day == days) {
            WriteTrimmedLine(out, Join(numbers));
            WriteTrimmedLine(out, Join(texts));
            numbers.assign(7, blank);
            texts.assign(7, blank);
        }
    }
    out << InfoLine(selected) << '\n';
}

void WriteDayFields(std::ostream& out, const DayInfo& day)
{
    static const char* const WeekdayNames[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    const TChnCal& c = day.cal;
    const int weekday = qn::SundayFirstWeekday(qn::EncodeDate(day.year, day.month, day.day));
    const std::pair<const char*, std::string> fields[] = {
        {"公历日期", FormatDate(day.year, day.month, day.day)},
        {"星期", WeekdayNames[weekday - 1]},
        {"农历年", c.LunarYearText},
        {"农历月", std::to_string(c.LunarMonth)},
        {"农历日", std::to_string(day.lunarDay)},
        {"闰月", day.isLeap ? "是" : "否"},
        {"农历月名", c.LunarMonthText},
        {"农历日名", c.LunarDayText},
        {"节气", c.SolarTerm},
        {"公历节日", c.Holiday},
        {"农历节日", c.LunarHoliday},
        {"年干支", c.YearGanZhi},
        {"月干支", c.MonthGanZhi},
        {"日干支", c.DayGanZhi},
        {"生肖", c.Animal},
        {"星座", c.Constellation},
        {"纪年", c.EraName},
    };
    for (const auto& [label, value] : fields) {
        const int pad = 8 - DisplayWidth(label);
        WriteTrimmedLine(out, std::string(label) + "：" + std::string(static_cast<std::size_t>(pad), ' ') + value);
    }
}

void WriteTsvLine(std::ostream& out, const DayInfo& day)
{
    const TChnCal& c = day.cal;
    out << FormatDate(day.year, day.month, day.day) << '\t' << c.LunarYear << '\t' << c.LunarMonth << '\t'
        << day.lunarDay << '\t' << (day.isLeap ? 1 : 0) << '\t' << c.LunarMonthText << '\t' << c.LunarDayText << '\t'
        << c.SolarTerm << '\t' << c.Holiday << '\t' << c.LunarHoliday << '\t' << c.YearGanZhi << '\t' << c.MonthGanZhi
        << '\t' << c.DayGanZhi << '\t' << c.Animal << '\t' << c.Constellation << '\t' << c.EraName << '\n';
}

}  // namespace qncal
