// The tab-separated output: one whole year against a file kept in the
// tree, and the fast day-by-day path against the day-information object.
#include "tools/qncal/DayReport.h"
#include "tools/qncal/DayRun.h"
#include "tools/qncal/QnCal.h"

#include "calendar/DateValue.h"
#include "holidays/HolidayData.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Any change in any column of any day of 2024 shows as a difference here.
// The holidays are the built-in table's alone. After an intended change,
// write the file anew with an empty table of one's own in place of the
// notebook's file:
//   printf 'date,off,name,notice_year\n' > /tmp/none.csv
//   qncal --holidays /tmp/none.csv --tsv 2024-01-01 2024-12-31 > tests/tools/data/qncal-tsv-2024.tsv
TEST(QnCalTsvGolden, TheYear2024IsByteForByteTheKeptFile)
{
    const std::string expected = ReadFile(QNCAL_TEST_DATA "/qncal-tsv-2024.tsv");
    ASSERT_EQ(std::count(expected.begin(), expected.end(), '\n'), 366);
    std::ostringstream out, err;
    const int status = qncal::RunQnCal({"--tsv", "2024-01-01", "2024-12-31"}, out, err, qn::FixedClock(0));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(err.str(), "");
    const std::string actual = out.str();
    if (actual == expected)
        return;
    std::istringstream a(actual), e(expected);
    std::string actualLine, expectedLine;
    for (int line = 1; std::getline(e, expectedLine); ++line) {
        std::getline(a, actualLine);
        ASSERT_EQ(actualLine, expectedLine) << "line " << line;
    }
    FAIL() << "the output has more lines than the kept file";
}

void ExpectSameDay(const qncal::DayInfo& fast, const qncal::DayInfo& slow)
{
    const TChnCal& f = fast.cal;
    const TChnCal& s = slow.cal;
    const std::string date = qncal::FormatDate(slow.year, slow.month, slow.day);
    ASSERT_EQ(fast.year, slow.year);
    ASSERT_EQ(fast.month, slow.month);
    ASSERT_EQ(fast.day, slow.day);
    ASSERT_EQ(fast.lunarDay, slow.lunarDay) << date;
    ASSERT_EQ(fast.isLeap, slow.isLeap) << date;
    ASSERT_EQ(f.Date, s.Date) << date;
    ASSERT_EQ(f.LunarYear, s.LunarYear) << date;
    ASSERT_EQ(f.LunarMonth, s.LunarMonth) << date;
    ASSERT_EQ(f.SolarTerm, s.SolarTerm) << date;
    ASSERT_EQ(f.Holiday, s.Holiday) << date;
    ASSERT_EQ(f.LunarMonthText, s.LunarMonthText) << date;
    ASSERT_EQ(f.DayGanZhi, s.DayGanZhi) << date;
    ASSERT_EQ(f.YearGanZhi, s.YearGanZhi) << date;
    ASSERT_EQ(f.MonthGanZhi, s.MonthGanZhi) << date;
    ASSERT_EQ(f.LunarHoliday, s.LunarHoliday) << date;
    ASSERT_EQ(f.LunarYearText, s.LunarYearText) << date;
    ASSERT_EQ(f.LunarDayText, s.LunarDayText) << date;
    ASSERT_EQ(f.Animal, s.Animal) << date;
    ASSERT_EQ(f.Constellation, s.Constellation) << date;
    ASSERT_EQ(f.EraName, s.EraName) << date;
    ASSERT_EQ(fast.statutory, slow.statutory) << date;
    ASSERT_EQ(fast.almanac, slow.almanac) << date;
}

// The long outputs take the fast path; it must say exactly what the
// day-information object says, on every day the calendar has.
TEST(QnCalDayRun, EveryDayOfTheCalendarMatchesTheDayInformationObject)
{
    const qn::HolidayCalendar holidays(qn::BuiltInHolidayRows());
    qncal::DayRun run(&holidays);
    qncal::DayInfo fast, slow;
    for (long long days = qn::DaysFromCivil(1, 1, 1); days <= qn::DaysFromCivil(2100, 12, 31); ++days) {
        const qn::CivilDate d = qn::CivilFromDays(days);
        if (!qncal::DayExists(d.year, d.month, d.day))
            continue;
        run.LookUp(fast, d.year, d.month, d.day);
        qncal::LookUpDay(slow, d.year, d.month, d.day, &holidays);
        ExpectSameDay(fast, slow);
        if (HasFatalFailure())
            return;
    }
}

TEST(QnCalDayRun, DaysInAnyOrderAndIntoAnotherDayInfo)
{
    const qn::HolidayCalendar holidays(qn::BuiltInHolidayRows());
    qncal::DayRun run(&holidays);
    qncal::DayInfo first, second;
    const qn::CivilDate dates[] = {{2024, 2, 10},  {1900, 1, 31},  {2024, 2, 9}, {2023, 3, 22},
                                   {1582, 10, 15}, {1582, 10, 4},  {1, 1, 1},    {2100, 12, 31},
                                   {2024, 2, 10},  {2006, 12, 30}, {1990, 1, 1}, {2024, 2, 4}};
    for (const qn::CivilDate& d : dates) {
        qncal::DayInfo& into = (d.day % 2 == 0) ? first : second;
        run.LookUp(into, d.year, d.month, d.day);
        ExpectSameDay(into, qncal::LookUpDay(d.year, d.month, d.day, &holidays));
    }
}

// A run without the almanac leaves its texts out, for feeds that do not
// show them; a run without a table knows no statutory days.
TEST(QnCalDayRun, LeavesOutWhatItIsNotAskedFor)
{
    qncal::DayRun run(nullptr, false);
    qncal::DayInfo day;
    run.LookUp(day, 2024, 12, 24);
    EXPECT_EQ(day.almanac, "");
    EXPECT_EQ(day.statutory.kind, qn::HolidayKind::Unknown);
    EXPECT_EQ(day.cal.LunarDayText, "廿四");
}

TEST(QnCalTsvLine, ALineLongerThanTheBufferIsWrittenWhole)
{
    qncal::DayInfo day = qncal::LookUpDay(2024, 2, 10);
    day.cal.EraName = std::string(5000, 'x');
    day.almanac.clear();
    std::string text = "before\n";
    qncal::AppendTsvLine(text, day);
    EXPECT_EQ(text.substr(0, 18), "before\n2024-02-10\t");
    EXPECT_EQ(text.substr(text.size() - 5003), std::string(5000, 'x') + "\t\t\n");
}

}  // namespace
