#include "tools/qncal/MonthGrid.h"

#include "calendar/ChnCal.h"
#include "calendar/GanZhi.h"
#include "holidays/HolidayTexts.h"
#include "tools/qncal/DayReport.h"
#include "tools/qncal/DisplayWidth.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace qncal {

namespace {

constexpr int FirstYear = 1;
constexpr int LastYear = 2100;

// One month alone has cells six columns wide, room for three Chinese
// characters ("元宵节"); side by side they take four ("元宵").
constexpr int WideCell = 6;
constexpr int NarrowCell = 4;
constexpr std::string_view CellGap = " ";
constexpr std::string_view MonthGap = "   ";
constexpr int WeekNumberWidth = 3;  // "52 "
constexpr int MaxWeekRows = 6;

// The calendar control's colours: weekends and the first day of a lunar
// month red, festivals orange, solar terms blue; today in reverse video.
constexpr std::string_view Reset = "\x1b[0m";
constexpr std::string_view Red = "\x1b[31m";
constexpr std::string_view Orange = "\x1b[38;5;208m";
constexpr std::string_view Blue = "\x1b[38;5;63m";
constexpr std::string_view Reverse = "\x1b[7m";
constexpr std::string_view ReverseRed = "\x1b[7;31m";
constexpr std::string_view Bold = "\x1b[1m";

void AppendPainted(std::string& line, std::string_view text, std::string_view sgr)
{
    if (sgr.empty() || text.empty()) {
        line += text;
        return;
    }
    line += sgr;
    line += text;
    line += Reset;
}

// The text fitted to the cell, centred (an odd column to the right), painted.
void AppendCell(std::string& line, std::string_view text, int width, std::string_view sgr)
{
    const std::string fitted = FitToWidth(text, width);
    const int spare = width - DisplayWidth(fitted);
    line.append(static_cast<std::size_t>(spare / 2), ' ');
    AppendPainted(line, fitted, sgr);
    line.append(static_cast<std::size_t>(spare - spare / 2), ' ');
}

// A day number is two columns wide ("%2d"), centred; only its digits are
// painted, so the padding keeps the columns. A 休 or 班 mark (two columns)
// follows the number in the cell's right padding; where that is too narrow,
// the number moves left to make room, so the cell keeps its width.
void AppendDayNumber(std::string& line, int day, int width, std::string_view sgr, std::string_view mark,
                     std::string_view markSgr)
{
    const int spare = width - 2;
    const int markWidth = DisplayWidth(mark);
    const int left = std::min(spare / 2, spare - markWidth);
    line.append(static_cast<std::size_t>(left), ' ');
    if (day < 10)
        line += ' ';
    AppendPainted(line, std::to_string(day), sgr);
    AppendPainted(line, mark, markSgr);
    line.append(static_cast<std::size_t>(spare - left - markWidth), ' ');
}

// 休 in red like a day off, 班 in bold like a working day.
std::string_view MarkColor(const qn::HolidayStatus& status) { return status.kind == qn::HolidayKind::Off ? Red : Bold; }

std::string_view LowerLineColor(const TChnCal& cal)
{
    if (!cal.LunarHoliday.empty())
        return Orange;
    if (!cal.SolarTerm.empty())
        return Blue;
    if (!cal.Holiday.empty())
        return Orange;
    if (cal.LunarDayText == "初一")
        return Red;
    return {};
}

void TrimRight(std::string& line) { line.erase(line.find_last_not_of(' ') + 1); }

// One month's grid as lines of equal terminal width: the weekday header,
// then for each week a line of day numbers and a line of lower-line texts.
struct MonthBlock {
    std::vector<std::string> lines;
    int width = 0;
    int firstLunarYear = 0, lastLunarYear = 0;
};

MonthBlock LayOutMonth(int year, int month, int cellWidth, const GridStyle& style, int highlightDay, int weekRows = 0)
{
    MonthBlock block;
    const std::string_view prefixBlank = style.weekNumbers ? "   " : "";
    block.width = static_cast<int>(prefixBlank.size()) + 7 * cellWidth + 6 * static_cast<int>(CellGap.size());
    const auto weekend = [&](int column) { return style.mondayFirst ? column >= 5 : column == 0 || column == 6; };
    const auto paint = [&](std::string_view sgr) { return style.color ? sgr : std::string_view(); };

    std::string header = style.weekNumbers ? "周 " : "";
    static constexpr std::string_view SundayFirst[] = {"日", "一", "二", "三", "四", "五", "六"};
    static constexpr std::string_view MondayFirst[] = {"一", "二", "三", "四", "五", "六", "日"};
    for (int column = 0; column < 7; ++column) {
        if (column > 0)
            header += CellGap;
        AppendCell(header, (style.mondayFirst ? MondayFirst : SundayFirst)[column], cellWidth,
                   paint(weekend(column) ? Red : std::string_view()));
    }
    block.lines.push_back(header);

    const long long firstDay = qn::DaysFromCivil(year, month, 1);
    const int firstColumn = style.mondayFirst ? qn::IsoWeekday(static_cast<double>(firstDay)) - 1
                                              : qn::SundayFirstWeekday(static_cast<double>(firstDay)) - 1;
    const int days = qn::DaysInGregorianMonth(year, month);
    const int rows = std::max(weekRows, (firstColumn + days + 6) / 7);
    TChnCal cal;
    int day = 1;
    for (int row = 0; row < rows; ++row) {
        std::string numbers, texts;
        if (style.weekNumbers) {
            if (day <= days) {
                // The ISO week of the row's Monday: with Sunday first, the
                // Sunday before it belongs to the week before.
                const long long monday = firstDay - firstColumn + 7LL * row + (style.mondayFirst ? 0 : 1);
                const int week = qn::IsoWeekNumber(static_cast<double>(monday));
                numbers += week < 10 ? " " : "";
                numbers += std::to_string(week) + " ";
            } else {
                numbers += prefixBlank;
            }
            texts += prefixBlank;
        }
        for (int column = 0; column < 7; ++column) {
            if (column > 0) {
                numbers += CellGap;
                texts += CellGap;
            }
            const bool inMonth = (row > 0 || column >= firstColumn) && day <= days;
            if (!inMonth) {
                numbers.append(static_cast<std::size_t>(cellWidth), ' ');
                texts.append(static_cast<std::size_t>(cellWidth), ' ');
                continue;
            }
            cal.Compute(qn::EncodeDate(year, month, day));
            if (day == 1)
                block.firstLunarYear = cal.LunarYear;
            block.lastLunarYear = cal.LunarYear;
            std::string_view numberColor = weekend(column) ? Red : std::string_view();
            if (day == highlightDay)
                numberColor = weekend(column) ? ReverseRed : Reverse;
            const qn::HolidayStatus holiday =
                style.holidays ? style.holidays->Look(year, month, day) : qn::HolidayStatus{};
            AppendDayNumber(numbers, day, cellWidth, paint(numberColor), qn::HolidayMark(holiday),
                            paint(MarkColor(holiday)));
            AppendCell(texts, LowerLineText(cal), cellWidth, paint(LowerLineColor(cal)));
            ++day;
        }
        block.lines.push_back(numbers);
        block.lines.push_back(texts);
    }
    return block;
}

int HighlightDay(int year, int month, const qn::CivilDate& today, const GridStyle& style)
{
    return style.color && today.year == year && today.month == month ? today.day : 0;
}

// The text centred in width columns (never cut).
std::string CenteredLine(const std::string& text, int width)
{
    const int spare = std::max(0, width - DisplayWidth(text));
    return std::string(static_cast<std::size_t>(spare / 2), ' ') + text
        + std::string(static_cast<std::size_t>(spare - spare / 2), ' ');
}

// Blocks side by side, each with its title centred above it; shorter
// blocks are padded with blank lines.
void WriteSideBySide(std::ostream& out, const std::vector<MonthBlock>& blocks, const std::vector<std::string>& titles)
{
    std::size_t height = 0;
    for (const MonthBlock& b : blocks)
        height = std::max(height, b.lines.size());
    std::string text;
    for (std::size_t i = 0; i <= height; ++i) {
        std::string line;
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            if (b > 0)
                line += MonthGap;
            if (i == 0)
                line += CenteredLine(titles[b], blocks[b].width);
            else if (i - 1 < blocks[b].lines.size())
                line += blocks[b].lines[i - 1];
            else
                line.append(static_cast<std::size_t>(blocks[b].width), ' ');
        }
        TrimRight(line);
        text += line;
        text += '\n';
    }
    out << text;
}

}  // namespace

std::string LunarYearsText(int firstLunarYear, int lastLunarYear, bool compact)
{
    const auto one = [compact](int lunarYear) {
        const std::string ganZhi(GetGanZhiText(GetYearGanZhi(lunarYear)));
        const std::string animal(GetAnimalText(GetAnimal(lunarYear)));
        return compact ? ganZhi + animal + "年" : ganZhi + "年 " + animal + "年";
    };
    if (firstLunarYear == lastLunarYear)
        return one(firstLunarYear);
    return one(firstLunarYear) + (compact ? "/" : " / ") + one(lastLunarYear);
}

void WriteMonth(std::ostream& out, const MonthView& view, const qn::CivilDate& today, const GridStyle& style)
{
    const MonthBlock block =
        LayOutMonth(view.year, view.month, WideCell, style, HighlightDay(view.year, view.month, today, style));
    const std::string title = std::to_string(view.year) + "年" + std::to_string(view.month) + "月  "
        + LunarYearsText(block.firstLunarYear, block.lastLunarYear);
    std::string text = CenteredLine(title, block.width);
    TrimRight(text);
    text += '\n';
    for (std::string line : block.lines) {
        TrimRight(line);
        text += line;
        text += '\n';
    }
    text += InfoLine(LookUpDay(view.year, view.month, view.selectedDay));
    text += '\n';
    out << text;
}

void WriteThreeMonths(std::ostream& out, int year, int month, const qn::CivilDate& today, const GridStyle& style)
{
    std::vector<MonthBlock> blocks;
    std::vector<std::string> titles;
    for (int offset = -1; offset <= 1; ++offset) {
        int y = year, m = month + offset;
        if (m < 1) {
            m = 12;
            --y;
        } else if (m > 12) {
            m = 1;
            ++y;
        }
        if (y < FirstYear || y > LastYear)
            continue;
        blocks.push_back(LayOutMonth(y, m, NarrowCell, style, HighlightDay(y, m, today, style), MaxWeekRows));
        titles.push_back(std::to_string(y) + "年" + std::to_string(m) + "月 "
                         + LunarYearsText(blocks.back().firstLunarYear, blocks.back().lastLunarYear, true));
    }
    WriteSideBySide(out, blocks, titles);
}

void WriteYear(std::ostream& out, int year, const qn::CivilDate& today, const GridStyle& style)
{
    std::vector<MonthBlock> months;
    for (int month = 1; month <= 12; ++month)
        months.push_back(
            LayOutMonth(year, month, NarrowCell, style, HighlightDay(year, month, today, style), MaxWeekRows));
    const int width = 3 * months[0].width + 2 * static_cast<int>(MonthGap.size());
    std::string title = CenteredLine(std::to_string(year) + "年  "
                                         + LunarYearsText(months.front().firstLunarYear, months.back().lastLunarYear),
                                     width);
    TrimRight(title);
    out << title << "\n\n";
    for (int quarter = 0; quarter < 4; ++quarter) {
        if (quarter > 0)
            out << '\n';
        std::vector<MonthBlock> row(months.begin() + 3 * quarter, months.begin() + 3 * quarter + 3);
        std::vector<std::string> titles;
        for (int i = 1; i <= 3; ++i)
            titles.push_back(std::to_string(3 * quarter + i) + "月");
        WriteSideBySide(out, row, titles);
    }
}

}  // namespace qncal
