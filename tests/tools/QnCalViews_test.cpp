// The cal-style views: a whole year, three months, Monday first, ISO week
// numbers, titles with both lunar years, and colour only when wanted.
#include "tools/qncal/DisplayWidth.h"
#include "tools/qncal/QnCal.h"

#include "calendar/DateValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

const double June15th2010 = qn::EncodeDateTime(2010, 6, 15, 10, 30, 0);

RunResult RunWith(const std::vector<std::string>& args, double now = June15th2010, bool color = false)
{
    std::ostringstream out, err;
    qncal::RunOptions options;
    options.color = color;
    const int status = qncal::RunQnCal(args, out, err, qn::FixedClock(now), options);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string WithoutColour(std::string text)
{
    for (auto at = text.find("\x1b["); at != std::string::npos; at = text.find("\x1b[", at))
        text.erase(at, text.find('m', at) - at + 1);
    return text;
}

// The text of a line from one terminal column to another. Fails the test when
// a column falls inside a wide character, that is when the grid is skewed.
std::string Columns(const std::string& line, int from, int to)
{
    std::string part;
    int column = 0;
    std::size_t i = 0;
    while (i < line.size() && column < to) {
        std::size_t n = 1;
        const auto b = static_cast<unsigned char>(line[i]);
        if (b >= 0xF0)
            n = 4;
        else if (b >= 0xE0)
            n = 3;
        else if (b >= 0xC0)
            n = 2;
        const std::string ch = line.substr(i, n);
        const int w = qncal::DisplayWidth(ch);
        EXPECT_FALSE(column < from && column + w > from) << "column " << from << " splits a character: " << line;
        EXPECT_FALSE(column < to && column + w > to) << "column " << to << " splits a character: " << line;
        if (column >= from)
            part += ch;
        column += w;
        i += n;
    }
    return part;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(QnCalTitles, AMonthWithTheLunarNewYearNamesBothYears)
{
    const struct {
        std::vector<std::string> args;
        std::string title;
    } cases[] = {
        {{"2024", "2"}, "2024年2月  癸卯年 兔年 / 甲辰年 龙年"},
        {{"2024", "3"}, "2024年3月  甲辰年 龙年"},
        {{"2024", "1"}, "2024年1月  癸卯年 兔年"},
        // 立春 on 2025-02-03 comes after the new year (01-29): the whole
        // month is 乙巳, the year of the snake.
        {{"2025", "2"}, "2025年2月  乙巳年 蛇年"},
        {{"2025", "1"}, "2025年1月  甲辰年 龙年 / 乙巳年 蛇年"},
    };
    for (const auto& c : cases) {
        const std::string title = FirstLine(RunWith(c.args).out);
        EXPECT_EQ(title.substr(title.find_first_not_of(' ')), c.title);
    }
}

TEST(QnCalYear, ShowsTwelveMonthsThreeAcrossInStraightColumns)
{
    const RunResult run = RunWith({"2024"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    EXPECT_EQ(lines[0].substr(lines[0].find_first_not_of(' ')), "2024年  癸卯年 兔年 / 甲辰年 龙年");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "               1月                                  2月                                  3月");
    EXPECT_EQ(lines[3],
              " 日   一   二   三   四   五   六     日   一   二   三   四   五   六     日   一   二   三 "
              "  四   五   六");
    // January 2024 starts on a Monday, February on a Thursday, March on a
    // Friday. New Year's Day is a statutory day off: its number moves left
    // to make room for the mark.
    EXPECT_EQ(lines[4],
              "      1休   2    3    4    5    6                          1    2    3                    "
              "           1    2");
    EXPECT_EQ(lines[5],
              "     元旦 廿一 廿二 廿三 廿四 小寒                       廿二 廿三 廿四                      "
              "      廿一 廿二");
    EXPECT_EQ(lines[7],
              "廿六 廿七 廿八 廿九 腊月 初二 初三   立春 廿六 廿七 廿八 廿九 除夕 春节   廿三 廿四 惊蛰 廿六 "
              "廿七 妇女 廿九");
    for (const char* month : {"4月", "7月", "10月", "12月"})
        EXPECT_NE(run.out.find(month), std::string::npos) << month;
}

TEST(QnCalYear, EveryGridLineKeepsItsColumns)
{
    // Each month block is 7 cells of 4 columns with 1 between (34), plus
    // "52 " with week numbers; blocks are 3 columns apart.
    for (const char* year : {"1", "1582", "1900", "2024", "2100"}) {
        for (const std::vector<std::string>& flags :
             std::vector<std::vector<std::string>>{{}, {"-m"}, {"-w"}, {"-m", "-w"}}) {
            std::vector<std::string> args = flags;
            args.push_back(year);
            const RunResult run = RunWith(args);
            ASSERT_EQ(run.status, 0) << year;
            const bool weeks = std::find(flags.begin(), flags.end(), "-w") != flags.end();
            const int block = 34 + (weeks ? 3 : 0);
            const std::vector<std::string> lines = Lines(run.out);
            for (std::size_t i = 2; i < lines.size(); ++i) {
                const std::string& line = lines[i];
                if (i % 15 == 2)
                    continue;  // the month titles
                EXPECT_LE(qncal::DisplayWidth(line), 3 * block + 6) << line;
                for (int b = 0; b < 3; ++b) {
                    if (b > 0) {
                        EXPECT_EQ(Columns(line, b * (block + 3) - 3, b * (block + 3)).find_first_not_of(' '),
                                  std::string::npos)
                            << "gap before block " << b << ": " << line;
                    }
                    const int start = b * (block + 3) + (weeks ? 3 : 0);
                    for (int cell = 1; cell < 7; ++cell) {
                        const std::string gap = Columns(line, start + cell * 5 - 1, start + cell * 5);
                        EXPECT_TRUE(gap.empty() || gap == " ") << "cell " << cell << ": " << line;
                    }
                }
            }
        }
    }
}

TEST(QnCalThreeMonths, ShowsTheMonthsAroundTodayOrTheGivenMonth)
{
    const RunResult around = RunWith({"-3"});
    ASSERT_EQ(around.status, 0) << around.err;
    const std::string title = FirstLine(around.out);
    EXPECT_NE(title.find("2010年5月 庚寅虎年"), std::string::npos) << title;
    EXPECT_NE(title.find("2010年6月 庚寅虎年"), std::string::npos) << title;
    EXPECT_NE(title.find("2010年7月 庚寅虎年"), std::string::npos) << title;

    const std::string newYear = FirstLine(RunWith({"-3", "2024", "1"}).out);
    EXPECT_NE(newYear.find("2023年12月 癸卯兔年"), std::string::npos) << newYear;
    EXPECT_NE(newYear.find("2024年2月 癸卯兔年/甲辰龙年"), std::string::npos) << newYear;

    // Months outside years 1..2100 are left out.
    const std::string last = FirstLine(RunWith({"-3", "2100", "12"}).out);
    EXPECT_NE(last.find("2100年11月"), std::string::npos) << last;
    EXPECT_EQ(last.find("2101"), std::string::npos) << last;
    const std::string first = FirstLine(RunWith({"-3", "1", "1"}).out);
    EXPECT_EQ(first.find("年12月"), std::string::npos) << first;
    EXPECT_NE(first.find("1年2月"), std::string::npos) << first;
}

TEST(QnCalMonth, MondayFirstAndWeekNumbers)
{
    const std::vector<std::string> monday = Lines(RunWith({"-m", "2010", "6"}).out);
    EXPECT_EQ(monday[1], "  一     二     三     四     五     六     日");
    EXPECT_EQ(monday[2], "          1      2      3      4      5      6");
    EXPECT_EQ(monday[3], "       儿童节  二十   廿一   廿二   廿三   芒种");

    // January 2021 begins on a Friday of ISO week 53 of 2020. With Sunday
    // first, a row takes the week of its Monday.
    const std::vector<std::string> sunday = Lines(RunWith({"-w", "2021", "1"}).out);
    EXPECT_EQ(sunday[1], "周   日     一     二     三     四     五     六");
    EXPECT_EQ(sunday[2].substr(0, 3), "53 ");
    EXPECT_EQ(sunday[4].substr(0, 3), " 1 ");
    EXPECT_EQ(sunday[12].substr(0, 3), " 5 ");  // Sunday the 31st, the week of Monday 02-01
    const std::vector<std::string> mondayWeeks = Lines(RunWith({"-mw", "2021", "1"}).out);
    EXPECT_EQ(mondayWeeks[2].substr(0, 3), "53 ");
    EXPECT_EQ(mondayWeeks[10].substr(0, 3), " 4 ");  // Monday the 25th, the last row
    ASSERT_EQ(mondayWeeks.size(), 13u);
    EXPECT_EQ(mondayWeeks[12], "2021-01-01 农历冬月十八");
    for (const auto& lines : {monday, sunday, mondayWeeks}) {
        for (std::size_t i = 1; i + 1 < lines.size(); ++i)
            EXPECT_LE(qncal::DisplayWidth(lines[i]), 51) << lines[i];
    }
}

TEST(QnCalColour, PaintsWeekendsFestivalsTermsAndTodayOnlyWhenAsked)
{
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{}, {"2024"}, {"-3"}, {"-mw", "2024", "2"}}) {
        const RunResult plain = RunWith(args, June15th2010, false);
        const RunResult coloured = RunWith(args, June15th2010, true);
        EXPECT_EQ(plain.out.find('\x1b'), std::string::npos);
        EXPECT_NE(coloured.out.find('\x1b'), std::string::npos);
        EXPECT_EQ(WithoutColour(coloured.out), plain.out) << "colour must not move a column";
    }
    const std::string june = RunWith({"2010", "6"}, June15th2010, true).out;
    EXPECT_NE(june.find("  \x1b[31m日\x1b[0m     一"), std::string::npos) << june;  // the Sunday header
    EXPECT_NE(june.find("\x1b[31m13\x1b[0m"), std::string::npos) << june;           // Sunday the 13th
    EXPECT_NE(june.find("\x1b[7m15\x1b[0m"), std::string::npos) << june;            // today
    EXPECT_NE(june.find("\x1b[38;5;208m端午节\x1b[0m"), std::string::npos);         // a festival
    EXPECT_NE(june.find("\x1b[38;5;63m芒种\x1b[0m"), std::string::npos);            // a solar term
    EXPECT_NE(june.find("\x1b[31m五月\x1b[0m"), std::string::npos);                 // a lunar month begins
    EXPECT_NE(june.find("  二十  "), std::string::npos);                            // an ordinary day stays plain
    // Today on a weekend is reversed and red.
    const std::string saturday = RunWith({}, qn::EncodeDate(2010, 6, 12), true).out;
    EXPECT_NE(saturday.find("\x1b[7;31m12\x1b[0m"), std::string::npos) << saturday;
}

// Checks that every cell of every grid line starts where it should: the
// column before each cell is a space and no wide character straddles it.
// blocks: the month blocks across; cell: the cell width (gap 1 after it).
void ExpectStraightCells(const std::vector<std::string>& gridLines, int blocks, int cell, bool weeks)
{
    const int block = 7 * cell + 6 + (weeks ? 3 : 0);
    for (const std::string& line : gridLines) {
        EXPECT_LE(qncal::DisplayWidth(line), blocks * block + (blocks - 1) * 3) << line;
        for (int b = 0; b < blocks; ++b) {
            if (b > 0) {
                EXPECT_EQ(Columns(line, b * (block + 3) - 3, b * (block + 3)).find_first_not_of(' '), std::string::npos)
                    << "gap before block " << b << ": " << line;
            }
            const int start = b * (block + 3) + (weeks ? 3 : 0);
            for (int column = 1; column < 7; ++column) {
                const std::string gap = Columns(line, start + column * (cell + 1) - 1, start + column * (cell + 1));
                EXPECT_TRUE(gap.empty() || gap == " ") << "cell " << column << ": " << line;
            }
        }
    }
}

TEST(QnCalMarks, DaysOffAndWorkingDaysAreMarkedBesideTheirNumbers)
{
    // October 2024: 国庆节 off from the 1st to the 7th, the Sunday before it
    // (09-29) and the Saturday after it (10-12) worked; 中秋节 off from
    // 09-15 to 09-17.
    const std::vector<std::string> month = Lines(RunWith({"2024", "10"}).out);
    EXPECT_EQ(month[2], "                 1休    2休    3休    4休    5休");
    EXPECT_EQ(month[4], "   6休    7休    8      9     10     11     12班");
    EXPECT_EQ(month[6], "  13     14     15     16     17     18     19");
    // Three months across: the narrow cells hold the mark by moving the
    // number one column left.
    const std::vector<std::string> three = Lines(RunWith({"-3", "2024", "10"}).out);
    const std::string september3 = "15休 16休 17休  18   19   20   21   ", september5 = "29班  30 ";
    EXPECT_EQ(three[6].substr(0, september3.size()), september3);
    EXPECT_EQ(three[10].substr(0, september5.size()), september5);
    // No notice for the year: no marks, nothing guessed from other years.
    for (const char* year : {"1990", "2099"}) {
        const std::string out = RunWith({"-3", year, "10"}).out + RunWith({year, "10"}).out;
        EXPECT_EQ(out.find("休"), std::string::npos) << year;
        EXPECT_EQ(out.find("班"), std::string::npos) << year;
    }
}

TEST(QnCalMarks, EveryViewKeepsItsColumnsWithMarks)
{
    for (const std::vector<std::string>& flags :
         std::vector<std::vector<std::string>>{{}, {"-m"}, {"-w"}, {"-m", "-w"}}) {
        const bool weeks = std::find(flags.begin(), flags.end(), "-w") != flags.end();
        // Months full of marks, on every weekday and at both edges of a row.
        for (const auto& [year, month] : {std::pair{"2024", "10"}, std::pair{"2024", "2"}, std::pair{"2015", "2"},
                                          std::pair{"2010", "6"}, std::pair{"2020", "1"}}) {
            std::vector<std::string> args = flags;
            args.insert(args.end(), {year, month});
            std::vector<std::string> lines = Lines(RunWith(args).out);
            ASSERT_GT(lines.size(), 3u);
            ExpectStraightCells({lines.begin() + 1, lines.end() - 1}, 1, 6, weeks);
            args.insert(args.begin(), "-3");
            lines = Lines(RunWith(args).out);
            ExpectStraightCells({lines.begin() + 1, lines.end()}, 3, 4, weeks);
        }
    }
}

TEST(QnCalMarks, DaysOffInRedAndWorkingDaysInBold)
{
    const RunResult plain = RunWith({"2024", "10"}, June15th2010, false);
    const RunResult coloured = RunWith({"2024", "10"}, June15th2010, true);
    EXPECT_NE(coloured.out.find("  \x1b[31m6\x1b[0m\x1b[31m休\x1b[0m"), std::string::npos) << coloured.out;
    EXPECT_NE(coloured.out.find("  1\x1b[31m休\x1b[0m"), std::string::npos) << coloured.out;
    EXPECT_NE(coloured.out.find("\x1b[31m12\x1b[0m\x1b[1m班\x1b[0m"), std::string::npos) << coloured.out;
    EXPECT_EQ(WithoutColour(coloured.out), plain.out);
}

TEST(QnCalColour, OnlyOnATerminalAndNotWhenNoColorIsSet)
{
    EXPECT_TRUE(qncal::ColorWanted(true, nullptr));
    EXPECT_TRUE(qncal::ColorWanted(true, ""));  // an empty NO_COLOR keeps colour
    EXPECT_FALSE(qncal::ColorWanted(true, "1"));
    EXPECT_FALSE(qncal::ColorWanted(false, nullptr));
    EXPECT_FALSE(qncal::ColorWanted(false, ""));
}

}  // namespace
