// qncal --tsv over every day it can show, 0001-01-01 to 2100-12-31, read
// line by line as it is written: the solar terms, the month names and the
// year names must agree on every day of the Julian and the Gregorian years.

#include "tools/qncal/QnCal.h"

#include "calendar/DateValue.h"
#include "calendar/GanZhi.h"
#include "calendar/LunarCore.h"
#include "calendar/SolarTerms.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Hands every complete line written to it to a function, so that the 767,000
// lines of the whole range never have to be held at once.
class LineSink : public std::streambuf {
public:
    explicit LineSink(std::function<void(const std::string&)> onLine) : onLine_(std::move(onLine)) { }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        Put(traits_type::to_char_type(c));
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        for (std::streamsize i = 0; i < n; ++i)
            Put(s[i]);
        return n;
    }

private:
    void Put(char c)
    {
        if (c != '\n') {
            line_ += c;
            return;
        }
        onLine_(line_);
        line_.clear();
    }

    std::function<void(const std::string&)> onLine_;
    std::string line_;
};

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// Position of a term name in TermNames (立春 = 0), -1 for no name.
int TermPosition(std::string_view name)
{
    for (std::size_t i = 0; i < TermNames.size(); ++i) {
        if (TermNames[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

// The 节 (立春, 惊蛰, … 小寒) stand at the even positions of TermNames.
bool IsJie(int position) { return position >= 0 && position % 2 == 0; }

// One day as qncal shows it.
struct ShownDay {
    std::string date;
    int year = 0, month = 0, day = 0;
    std::string term, yearName, monthName;
};

// Date values count proleptic Gregorian days and the engine reads their
// numbers as Julian dates before 1582-10-15, so the Julian 29 February of
// 100, 200, … 1500 (the century years the Gregorian calendar makes common) is
// a day no date value names. The engine still knows it; the check takes it
// from the engine so that the sequence of days is whole.
bool IsJulianLeapDayNoDateValueNames(int year) { return year < 1582 && year % 100 == 0 && year % 400 != 0; }

ShownDay EngineDay(int year, int month, int day)
{
    char date[48];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
    return {date,
            year,
            month,
            day,
            std::string(GetSolarTermText(year, month, day)),
            std::string(GetGanZhiText(GetDateYearGanZhi(year, month, day))),
            std::string(GetGanZhiText(GetMonthGanZhi(year, month, day)))};
}

// Every term is named on the day it falls on, in cyclic order, none missing
// or doubled; consecutive terms lie 14 to 17 days apart, counted in the days
// the calendar really had (the ten dates of October 1582 that never existed
// name nothing); the month name turns exactly on the days that name a 节 and
// the year name exactly on 立春.
TEST(QnCalFullRange, SolarTermsMonthAndYearNamesAgreeFromYear1To2100)
{
    int lines = 0, gapLines = 0, terms = 0;
    int previousPosition = -1;
    long long previousTermDay = 0;
    std::string firstTerm, lastTerm, previousMonthName, previousYearName;
    std::vector<std::string> failures, termsOnDaysNotShown;
    auto fail = [&failures](const std::string& date, const std::string& what) {
        if (failures.size() < 20)
            failures.push_back(date + ": " + what);
    };

    auto check = [&](const ShownDay& d) {
        const long long dayNumber = GetDayNumber(d.year, d.month, d.day);
        const int position = TermPosition(d.term);
        if (!d.term.empty()) {
            if (position < 0) {
                fail(d.date, "unknown term " + d.term);
                return;
            }
            if (terms > 0) {
                if (position != (previousPosition + 1) % 24)
                    fail(d.date, d.term + " follows " + lastTerm);
                const long long apart = dayNumber - previousTermDay;
                if (apart < 14 || apart > 17)
                    fail(d.date, d.term + " " + std::to_string(apart) + " days after " + lastTerm);
            } else {
                firstTerm = d.term;
            }
            ++terms;
            previousPosition = position;
            previousTermDay = dayNumber;
            lastTerm = d.term;
        }
        if (!previousMonthName.empty()) {
            if ((d.monthName != previousMonthName) != IsJie(position))
                fail(d.date, "month name " + previousMonthName + " -> " + d.monthName + " with term '" + d.term + "'");
            // AD 1 keeps its year names: the days before its 立春 are already
            // 辛酉, the name the year before AD 1 shares with it.
            const bool yearNameTurns = d.term == "立春" && !(d.year == 1);
            if ((d.yearName != previousYearName) != yearNameTurns)
                fail(d.date, "year name " + previousYearName + " -> " + d.yearName + " with term '" + d.term + "'");
        }
        previousMonthName = d.monthName;
        previousYearName = d.yearName;
    };

    LineSink sink([&](const std::string& line) {
        ++lines;
        const std::vector<std::string> f = Fields(line);
        if (f.size() < 16) {
            fail(line, "fewer than 16 fields");
            return;
        }
        ShownDay shown{f[0], 0, 0, 0, f[7], f[10], f[11]};
        if (std::sscanf(shown.date.c_str(), "%d-%d-%d", &shown.year, &shown.month, &shown.day) != 3) {
            fail(shown.date, "unreadable date");
            return;
        }
        if (GetCalendarKind(shown.year, shown.month, shown.day) == 0) {
            ++gapLines;
            if (!shown.term.empty())
                fail(shown.date, "a date that never existed names " + shown.term);
            return;
        }
        if (shown.month == 3 && shown.day == 1 && IsJulianLeapDayNoDateValueNames(shown.year)) {
            const ShownDay leapDay = EngineDay(shown.year, 2, 29);
            if (!leapDay.term.empty())
                termsOnDaysNotShown.push_back(leapDay.date + " " + leapDay.term);
            check(leapDay);
        }
        check(shown);
    });
    std::ostream out(&sink);
    std::ostringstream err;
    const int status =
        qncal::RunQnCal({"--tsv", "0001-01-01", "2100-12-31"}, out, err, qn::FixedClock(qn::EncodeDate(2024, 1, 1)));
    out.flush();

    ASSERT_EQ(status, qncal::ExitOk) << err.str();
    // Every date value of the range but the ten dates of the 1582 gap, which
    // the calendar does not have.
    EXPECT_EQ(lines, qn::DaysFromCivil(2100, 12, 31) - qn::DaysFromCivil(1, 1, 1) + 1 - 10);
    EXPECT_EQ(gapLines, 0);
    for (const std::string& failure : failures)
        ADD_FAILURE() << failure;
    // Year 1 opens with 小寒 and 2100 closes with 冬至: 2100 whole rounds.
    EXPECT_EQ(firstTerm, "小寒");
    EXPECT_EQ(lastTerm, "冬至");
    EXPECT_EQ(terms, 24 * 2100);
    // The only terms on days no date value names.
    EXPECT_EQ(termsOnDaysNotShown, (std::vector<std::string>{"0900-02-29 惊蛰", "1000-02-29 惊蛰"}));
}

}  // namespace
