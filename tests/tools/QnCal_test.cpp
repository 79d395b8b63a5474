#include "tools/qncal/QnCal.h"

#include "calendar/DateValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

// 2010-06-15 10:30, a fixed "now" for the forms that show today.
const double June15th2010 = qn::EncodeDateTime(2010, 6, 15, 10, 30, 0);

RunResult RunWith(const std::vector<std::string>& args, double now = June15th2010, qncal::RunOptions options = {})
{
    std::ostringstream out, err;
    const int status = qncal::RunQnCal(args, out, err, qn::FixedClock(now), options);
    return {status, out.str(), err.str()};
}

std::string LastLine(const std::string& text)
{
    const auto end = text.find_last_not_of('\n');
    const auto start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end - (start == std::string::npos ? 0 : start + 1) + 1);
}

TEST(QnCalMonth, LaysOutJune2010LikeTheCalendarControl)
{
    // June 2010 starts on a Tuesday. 儿童节 covers 四月十九 on the 1st, 五月
    // stands on the first day of the lunar month, 端午节 on 五月初五, the
    // third Sunday is 父亲节, and 芒种 and 夏至 are the solar terms. The
    // 端午节 holiday is off from the 14th to the 16th and makes the weekend
    // before it working days.
    const std::string expected =
        "             2010年6月  庚寅年 虎年\n"
        "  日     一     二     三     四     五     六\n"
        "                 1      2      3      4      5\n"
        "              儿童节  二十   廿一   廿二   廿三\n"
        "   6      7      8      9     10     11     12班\n"
        " 芒种   廿五   廿六   廿七   廿八   廿九   五月\n"
        "  13班   14休   15休   16休   17     18     19\n"
        " 初二   初三   初四  端午节  初六   初七   初八\n"
        "  20     21     22     23     24     25     26\n"
        "父亲节  夏至   十一   十二   十三   十四   十五\n"
        "  27     28     29     30\n"
        " 十六   十七   十八   十九\n"
        "2010-06-01 农历四月十九\n";
    const RunResult run = RunWith({"2010", "6"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");
}

TEST(QnCalMonth, WithoutArgumentsShowsTodaysMonthAndInfoLine)
{
    const RunResult run = RunWith({});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "             2010年6月  庚寅年 虎年");
    EXPECT_EQ(LastLine(run.out), "2010-06-15 农历五月初四");
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
}

TEST(QnCalMonth, HighlightsTodayOnlyWhenAskedAndOnlyInItsMonth)
{
    qncal::RunOptions terminal;
    terminal.color = true;
    const RunResult today = RunWith({}, June15th2010, terminal);
    // The 15th is a day off as well: only its number is reversed.
    EXPECT_NE(today.out.find("   14\x1b[31m休\x1b[0m   \x1b[7m15\x1b[0m\x1b[31m休\x1b[0m   16"), std::string::npos)
        << today.out;
    const RunResult other = RunWith({"2010", "7"}, June15th2010, terminal);
    EXPECT_EQ(other.out.find("\x1b[7"), std::string::npos);
}

TEST(QnCalMonth, InfoLineUsesTheEraTextBefore1949)
{
    const struct {
        std::vector<std::string> args;
        std::string infoLine;
    } cases[] = {
        {{"1900", "2"}, "[清]德宗 爱新觉罗载湉 光绪26年 农历正月初二"},
        {{"1948", "12"}, "[近、现代]中华民国  民国37年 农历冬月初一"},
        {{"1949", "1"}, "1949-01-01 农历腊月初三"},
        {{"2100", "12"}, "2100-12-01 农历冬月初一"},
    };
    for (const auto& c : cases) {
        const RunResult run = RunWith(c.args);
        EXPECT_EQ(run.status, 0) << c.args[0];
        EXPECT_EQ(LastLine(run.out), c.infoLine);
    }
}

TEST(QnCalMonth, FebruaryHasTwentyNineCellsInALeapYear)
{
    for (const auto& [year, lastDay] : {std::pair{2024, "29"}, std::pair{2023, "28"}, std::pair{1900, "28"}}) {
        const std::string out = RunWith({std::to_string(year), "2"}).out;
        const std::string lastNumbers = out.substr(0, out.rfind('\n', out.rfind('\n', out.rfind('\n') - 1) - 1));
        const std::string row = lastNumbers.substr(lastNumbers.rfind('\n') + 1);
        EXPECT_EQ(row.substr(row.find_last_not_of(' ') - 1), lastDay) << year << "\n" << out;
    }
}

TEST(QnCalDay, ListsEveryFieldWithAChineseLabel)
{
    const std::string expected =
        "公历日期：2024-02-10\n"
        "星期：    星期六\n"
        "农历年：  2024\n"
        "农历月：  1\n"
        "农历日：  1\n"
        "闰月：    否\n"
        "农历月名：正月\n"
        "农历日名：初一\n"
        "节气：\n"
        "公历节日：\n"
        "农历节日：春节\n"
        "年干支：  甲辰\n"
        "月干支：  丙寅\n"
        "日干支：  甲辰\n"
        "生肖：    龙\n"
        "星座：    宝瓶\n"
        "纪年：\n"
        "法定：    春节 休\n"
        "节令：    六九第6天\n";
    const RunResult run = RunWith({"--day", "2024-02-10"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");
}

TEST(QnCalDay, ShowsLeapMonthsAndEraText)
{
    const RunResult leap = RunWith({"--day", "2023-03-22"});
    EXPECT_NE(leap.out.find("闰月：    是\n"), std::string::npos) << leap.out;
    EXPECT_NE(leap.out.find("农历月名：闰二\n"), std::string::npos) << leap.out;
    const RunResult old = RunWith({"--day", "1900-01-31"});
    EXPECT_NE(old.out.find("纪年：    [清]德宗 爱新觉罗载湉 光绪26年\n"), std::string::npos) << old.out;
    EXPECT_NE(old.out.find("农历节日：春节\n"), std::string::npos) << old.out;
}

TEST(QnCalTsv, WritesOneTabSeparatedLinePerDay)
{
    const RunResult run = RunWith({"--tsv", "2024-02-08", "2024-02-11"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "2024-02-08\t2023\t12\t29\t0\t腊月\t廿九\t\t\t\t甲辰\t丙寅\t壬寅\t兔\t宝瓶\t\t\t六九第4天\n"
              "2024-02-09\t2023\t12\t30\t0\t腊月\t三十\t\t\t除夕\t甲辰\t丙寅\t癸卯\t兔\t宝瓶\t\t\t六九第5天\n"
              "2024-02-10\t2024\t1\t1\t0\t正月\t初一\t\t\t春节\t甲辰\t丙寅\t甲辰\t龙\t宝瓶\t\t休 春节\t六九第6天\n"
              "2024-02-11\t2024\t1\t2\t0\t正月\t初二\t\t\t\t甲辰\t丙寅\t乙巳\t龙\t宝瓶\t\t休 春节\t六九第7天\n");
}

TEST(QnCalTsv, KnownDays)
{
    const struct {
        std::string date;
        std::string line;
    } cases[] = {
        {"2023-03-22", "2023-03-22\t2023\t2\t1\t1\t闰二\t初一\t\t\t\t癸卯\t乙卯\t己卯\t兔\t白羊\t\t\t"},
        {"2009-06-27", "2009-06-27\t2009\t5\t5\t1\t闰五\t初五\t\t\t端午节\t己丑\t庚午\t癸卯\t牛\t巨蟹\t\t\t"},
        {"2024-02-04",
         "2024-02-04\t2023\t12\t25\t0\t腊月\t廿五\t立春\t\t\t甲辰\t丙寅\t戊戌\t兔\t宝瓶\t\t班 春节\t五九第9天"},
        {"2016-07-07", "2016-07-07\t2016\t6\t4\t0\t六月\t初四\t小暑\t\t\t丙申\t乙未\t庚寅\t猴\t巨蟹\t\t\t"},
        {"2025-04-07", "2025-04-07\t2025\t3\t10\t0\t三月\t初十\t\t\t\t乙巳\t庚辰\t丙午\t蛇\t白羊\t\t\t"},
        {"2010-06-01", "2010-06-01\t2010\t4\t19\t0\t四月\t十九\t\t儿童节\t\t庚寅\t辛巳\t壬午\t虎\t双子\t\t\t"},
        {"1916-02-03",
         "1916-02-03	1916	1	1	0	正月	初一			春节	乙卯	己丑	"
         "庚午	龙	宝瓶	[近、现代]中华民国  "
         "民国5年		五九第7天"},
        {"0001-01-01",
         "0001-01-01	0	11	19	0	冬月	十九		元旦节		辛酉	庚子	"
         "丁丑	鸡	摩羯	[西汉]平帝 刘衎 "
         "元始元年		"},
        // A weekend the notice leaves out inside a holiday is off too; two
        // almanac texts share the column.
        {"2014-04-06",
         "2014-04-06	2014	3	7	0	三月	初七				甲午	戊辰	"
         "丁未	马	白羊		休 清明节	"},
        {"2024-12-24",
         "2024-12-24	2024	11	24	0	冬月	廿四				甲辰	丙子	"
         "壬戌	龙	摩羯			平安夜 一九第4天"},
    };
    for (const auto& c : cases) {
        const RunResult run = RunWith({"--tsv", c.date, c.date});
        EXPECT_EQ(run.status, 0) << c.date;
        EXPECT_EQ(run.out, c.line + "\n");
    }
}

TEST(QnCalTsv, CoversAWholeYearDayByDay)
{
    const RunResult run = RunWith({"--tsv", "2024-01-01", "2024-12-31"});
    ASSERT_EQ(run.status, 0);
    std::istringstream lines(run.out);
    std::string line;
    double expected = qn::EncodeDate(2024, 1, 1);
    int count = 0;
    while (std::getline(lines, line)) {
        const qn::CivilDate d = qn::DecodeDate(expected);
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year, d.month, d.day);
        EXPECT_EQ(line.substr(0, 10), date);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 17) << line;
        expected += 1;
        ++count;
    }
    EXPECT_EQ(count, 366);
}

TEST(QnCalFromLunar, ConvertsExistingLunarDates)
{
    const struct {
        std::vector<std::string> args;
        std::string date;
    } cases[] = {
        {{"2024", "1", "1"}, "2024-02-10"},           {{"2024", "2", "30"}, "2024-04-08"},
        {{"2023", "2", "1", "--leap"}, "2023-03-22"}, {{"--leap", "2023", "2", "1"}, "2023-03-22"},
        {{"2023", "2", "1"}, "2023-02-20"},           {{"2025", "3", "10"}, "2025-04-07"},
        {{"2100", "12", "1"}, "2100-12-31"},
    };
    for (auto c : cases) {
        c.args.insert(c.args.begin(), "--from-lunar");
        const RunResult run = RunWith(c.args);
        EXPECT_EQ(run.status, 0) << c.date;
        EXPECT_EQ(run.out, c.date + "\n");
        EXPECT_EQ(run.err, "");
    }
}

// A lunar date that does not exist is bad input like a solar one: status 2.
TEST(QnCalFromLunar, SaysSoWhenTheLunarDateDoesNotExist)
{
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"2024", "1", "30"}, "qncal: 没有这个农历日期：农历 2024 年正月三十\n"},  // a 29-day month
        {{"2023", "3", "1", "--leap"}, "qncal: 没有这个农历日期：农历 2023 年闰三月初一\n"},
        {{"2024", "5", "1", "--leap"}, "qncal: 没有这个农历日期：农历 2024 年闰五月初一\n"},
        {{"2100", "12", "29"}, "qncal: 农历 2100 年腊月廿九在公历 2100 年以后，超出可换算的范围\n"},
    };
    for (auto c : cases) {
        c.args.insert(c.args.begin(), "--from-lunar");
        const RunResult run = RunWith(c.args);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.message);
    }
}

TEST(QnCalBadInput, ExitsWithStatusTwoAndOneLineOnStderr)
{
    const struct {
        std::vector<std::string> args;
        std::string mentions;  // the message names the problem
    } cases[] = {
        {{"-3", "2010"}, "参数个数"},
        {{"2010", "6", "1"}, "参数个数"},
        {{"2010", "13"}, "13"},
        {{"2010", "0"}, "月份"},
        {{"0", "1"}, "年份超出范围：0"},
        {{"2101", "1"}, "年份超出范围：2101"},
        {{"-5", "6"}, "年份超出范围：-5"},
        {{"abc", "6"}, "\"abc\""},
        {{"2010", "6x"}, "\"6x\""},
        {{"--day"}, "参数个数"},
        {{"--day", "2010-6"}, "\"2010-6\""},
        {{"--day", "2010-06-01x"}, "\"2010-06-01x\""},
        {{"--day", "2010/06/01"}, "YYYY-MM-DD"},
        {{"--day", ""}, "YYYY-MM-DD"},
        {{"--day", "-2010-06-01"}, "YYYY-MM-DD"},
        {{"--day", "2010-02-30"}, "没有这一天"},
        {{"--day", "1900-02-29"}, "没有这一天"},
        {{"--day", "2010-13-01"}, "月份无效：13"},
        {{"--day", "0000-01-01"}, "年份超出范围：0"},
        {{"--day", "2101-01-01"}, "年份超出范围：2101"},
        {{"--day", "99999999999-01-01"}, "YYYY-MM-DD"},
        {{"--tsv", "2010-06-02", "2010-06-01"}, "起始日期晚于结束日期"},
        {{"--tsv", "2010-06-01"}, "参数个数"},
        {{"--tsv", "2010-06-01", "2101-01-01"}, "2101"},
        {{"--from-lunar", "2024", "13", "1"}, "农历月份无效：13"},
        {{"--from-lunar", "2024", "1", "31"}, "农历日无效：31"},
        {{"--from-lunar", "2024", "1", "0"}, "农历日无效：0"},
        {{"--from-lunar", "2101", "1", "1"}, "农历年份超出范围：2101"},
        {{"--from-lunar", "2024", "1"}, "参数个数"},
        {{"--bogus"}, "未知选项：--bogus"},
        {{"-x", "2010", "6"}, "未知选项：-x"},
        {{"2010", "6", "--leap"}, "--leap"},
        {{"--day", "2010-06-01", "--tsv", "2010-06-01"}, "不能同时使用"},
        {{"--from-lunar", "2024", "1", "1", "--leap", "--leap"}, "选项重复"},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& a : c.args)
            shown += "'" + a + "' ";
        const RunResult run = RunWith(c.args);
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_EQ(run.err.rfind("qncal: ", 0), 0u) << shown << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << shown << run.err;
        EXPECT_EQ(run.err.back(), '\n') << shown;
        EXPECT_NE(run.err.find(c.mentions), std::string::npos) << shown << run.err;
    }
}

// The calendar reform skipped 1582-10-05 .. 1582-10-14: they are refused
// like 2010-02-30 wherever a date is typed, and left out of a range.
TEST(QnCalReformGap, SkippedDaysAreRefusedAsDates)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--day", "1582-10-05"},
        {"--day", "1582-10-14"},
        {"--day=1582-10-10"},
        {"--tsv", "1582-10-05", "1582-10-20"},
        {"--tsv", "1582-10-01", "1582-10-14"},
        {"--ics", "1582-10-01", "1582-10-09"},
    };
    for (const auto& args : cases) {
        const RunResult run = RunWith(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_EQ(run.out, "") << args.back();
        EXPECT_NE(run.err.find("没有这一天"), std::string::npos) << run.err;
    }
    for (const char* date : {"1582-10-04", "1582-10-15"})
        EXPECT_EQ(RunWith({"--day", date}).status, 0) << date;
}

TEST(QnCalReformGap, RangesLeaveTheSkippedDaysOut)
{
    const RunResult run = RunWith({"--tsv", "1582-10-03", "1582-10-16"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::vector<std::string> dates;
    for (std::string line; std::getline(lines, line);) {
        dates.push_back(line.substr(0, 10));
        EXPECT_EQ(line.find("\t-1\t"), std::string::npos) << line;
    }
    EXPECT_EQ(dates, (std::vector<std::string>{"1582-10-03", "1582-10-04", "1582-10-15", "1582-10-16"}));
}

TEST(QnCalCommandLine, LongOptionsTakeTheirValueAfterAnEqualsSign)
{
    EXPECT_EQ(RunWith({"--day=2024-02-10"}).out, RunWith({"--day", "2024-02-10"}).out);
    EXPECT_EQ(RunWith({"--tsv=2024-02-08", "2024-02-11"}).out, RunWith({"--tsv", "2024-02-08", "2024-02-11"}).out);
    EXPECT_EQ(RunWith({"--from-lunar=2023", "2", "1", "--leap"}).out, "2023-03-22\n");
    EXPECT_EQ(RunWith({"--ics=2024-02-10", "2024-02-10", "--layers=lunar"}).out,
              RunWith({"--ics", "2024-02-10", "2024-02-10", "--layers", "lunar"}).out);
    EXPECT_EQ(RunWith({"2024", "2", "--monday", "--week"}).out, RunWith({"-mw", "2024", "2"}).out);
    EXPECT_EQ(RunWith({"--three", "2024", "2"}).out, RunWith({"-3", "2024", "2"}).out);
}

TEST(QnCalCommandLine, VersionNamesTheProgram)
{
    const RunResult run = RunWith({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("qncal ", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("QN周记事本"), std::string::npos);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
}

TEST(QnCalCommandLine, OptionsInTheWrongPlaceAreRefused)
{
    const struct {
        std::vector<std::string> args;
        std::string mentions;
    } cases[] = {
        {{"--leap=1", "--from-lunar", "2023", "2", "1"}, "不带值"},
        {{"--day", "2024-02-10", "-m"}, "-m"},
        {{"--tsv", "2024-02-10", "2024-02-11", "--week"}, "--week"},
        {{"-3", "--day", "2024-02-10"}, "-3"},
        {{"--tsv", "2024-02-10", "2024-02-11", "--layers", "lunar"}, "--layers"},
        {{"--ics", "2024-02-10", "2024-02-11", "--layers"}, "缺少"},
        {{"--ics", "2024-02-10", "2024-02-11", "--layers", "lunar", "--layers=terms"}, "选项重复"},
        {{"-mm"}, "选项重复：-m"},
        {{"-m", "--monday"}, "选项重复"},
        {{"-3x"}, "\"-3x\""},
        {{"--day=2024-02-10", "--ics", "2024-02-10", "2024-02-11"}, "不能同时使用"},
        {{"--bogus=1"}, "未知选项：--bogus"},
    };
    for (const auto& c : cases) {
        const RunResult run = RunWith(c.args);
        EXPECT_EQ(run.status, 2) << c.mentions;
        EXPECT_EQ(run.out, "") << c.mentions;
        EXPECT_NE(run.err.find(c.mentions), std::string::npos) << run.err;
    }
}

TEST(QnCalBadInput, TodayOutsideTheCalendarsYearsIsRefused)
{
    const RunResult run = RunWith({}, qn::EncodeDate(2101, 1, 1));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("2101"), std::string::npos);
}

TEST(QnCalHelp, DocumentsEveryFormAndColumn)
{
    for (const char* flag : {"--help", "-h"}) {
        const RunResult run = RunWith({flag});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        for (const char* word :
             {"--day",         "--from-lunar", "--leap",     "--tsv",          "date",         "LunarYear",
              "LunarMonth",    "LunarDay",     "IsLeap",     "LunarMonthText", "LunarDayText", "SolarTerm",
              "Holiday",       "LunarHoliday", "YearGanZhi", "MonthGanZhi",    "DayGanZhi",    "Animal",
              "Constellation", "EraName",      "1..2100",    "退出状态",       "--ics",        "--layers",
              "lunar",         "terms",        "festivals",  "statutory",      "almanac",      "-3",
              "--monday",      "--week",       "--version",  "NO_COLOR"})
            EXPECT_NE(run.out.find(word), std::string::npos) << word;
    }
}

}  // namespace
