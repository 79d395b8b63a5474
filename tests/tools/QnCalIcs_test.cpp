// The calendar feed: RFC 5545 lines, all-day events, stable UIDs, layers
// and ranges.
#include "tools/qncal/IcsFeed.h"
#include "tools/qncal/IcsText.h"
#include "tools/qncal/QnCal.h"

#include "calendar/DateValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult Feed(std::vector<std::string> args, double stamp = qn::EncodeDateTime(2024, 5, 6, 7, 8, 9))
{
    args.insert(args.begin(), "--ics");
    std::ostringstream out, err;
    qncal::RunOptions options;
    options.utcNow = qn::FixedClock(stamp);
    const int status = qncal::RunQnCal(args, out, err, qn::FixedClock(qn::EncodeDate(2010, 6, 15)), options);
    return {status, out.str(), err.str()};
}

// The content lines with folding undone.
std::vector<std::string> Unfolded(const std::string& feed)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < feed.size()) {
        const auto end = feed.find("\r\n", at);
        const std::string physical = feed.substr(at, end - at);
        if (!physical.empty() && physical[0] == ' ')
            lines.back() += physical.substr(1);
        else
            lines.push_back(physical);
        at = end + 2;
    }
    return lines;
}

std::vector<std::string> Values(const std::string& feed, const std::string& name)
{
    std::vector<std::string> values;
    for (const std::string& line : Unfolded(feed)) {
        if (line.rfind(name + ":", 0) == 0)
            values.push_back(line.substr(name.size() + 1));
    }
    return values;
}

bool IsValidUtf8(const std::string& s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80 ? 1
            : (b & 0xE0) == 0xC0       ? 2
            : (b & 0xF0) == 0xE0       ? 3
            : (b & 0xF8) == 0xF0       ? 4
                                       : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += n;
    }
    return true;
}

TEST(QnCalIcs, OneDayIsACompleteCalendarOfAllDayEvents)
{
    const RunResult run = Feed({"2024-02-10", "2024-02-10", "--layers", "festivals,lunar"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "BEGIN:VCALENDAR\r\n"
              "VERSION:2.0\r\n"
              "PRODID:-//QN周记事本//qncal " QNCAL_VERSION
              "//ZH\r\n"
              "CALSCALE:GREGORIAN\r\n"
              "METHOD:PUBLISH\r\n"
              "X-WR-CALNAME:农历（农历、节日）\r\n"
              "X-WR-CALDESC:qncal 生成的农历日历，2024-02-10 至 2024-02-10\r\n"
              "BEGIN:VEVENT\r\n"
              "UID:20240210-lunar-4512e5b77bade119@qncal\r\n"
              "DTSTAMP:20240506T070809Z\r\n"
              "DTSTART;VALUE=DATE:20240210\r\n"
              "DTEND;VALUE=DATE:20240211\r\n"
              "SUMMARY:正月初一\r\n"
              "DESCRIPTION:甲辰年 丙寅月 甲辰日\r\n"
              "CATEGORIES:农历\r\n"
              "TRANSP:TRANSPARENT\r\n"
              "END:VEVENT\r\n"
              "BEGIN:VEVENT\r\n"
              "UID:20240210-festivals-b7d0da9247b75aba@qncal\r\n"
              "DTSTAMP:20240506T070809Z\r\n"
              "DTSTART;VALUE=DATE:20240210\r\n"
              "DTEND;VALUE=DATE:20240211\r\n"
              "SUMMARY:春节\r\n"
              "DESCRIPTION:农历正月初一\r\n"
              "CATEGORIES:节日\r\n"
              "TRANSP:TRANSPARENT\r\n"
              "END:VEVENT\r\n"
              "END:VCALENDAR\r\n");
}

TEST(QnCalIcs, LayersCarryTheirOwnEvents)
{
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> summaries;
    } cases[] = {
        {{"2024-12-02", "2024-12-02", "--layers", "lunar"}, {"冬月初二"}},
        {{"2023-03-22", "2023-03-22", "--layers", "lunar"}, {"闰二月初一"}},
        {{"2024-02-04", "2024-02-05", "--layers", "terms"}, {"立春"}},
        // Two festivals on one day are two events.
        {{"2020-10-01", "2020-10-01", "--layers", "festivals"}, {"国庆节", "中秋节"}},
        {{"2024-02-09", "2024-02-10"}, {"除夕", "春节", "春节 休"}},  // the default layers
        {{"2024-02-04", "2024-02-04"}, {"立春", "春节调休 上班"}},
        {{"2024-02-10", "2024-02-10", "--layers", "statutory,almanac"}, {"春节 休", "六九第6天"}},
        // Each almanac text is an event; a year without a notice has no 休 or 班.
        {{"2024-12-24", "2024-12-24", "--layers", "almanac"}, {"平安夜", "一九第4天"}},
        {{"1990-01-01", "1990-01-01", "--layers", "statutory"}, {}},
    };
    for (const auto& c : cases) {
        const RunResult run = Feed(c.args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Values(run.out, "SUMMARY"), c.summaries) << c.args[0];
        EXPECT_EQ(Values(run.out, "BEGIN").front(), "VCALENDAR");
        EXPECT_EQ(Values(run.out, "END").back(), "VCALENDAR");
    }
}

TEST(QnCalIcs, TheLayerListIsASetOfKnownNames)
{
    const std::string sorted = Feed({"2024-01-01", "2024-03-31", "--layers", "festivals,terms,lunar"}).out;
    EXPECT_EQ(Feed({"2024-01-01", "2024-03-31", "--layers", "lunar,terms,festivals,lunar"}).out, sorted);
    EXPECT_EQ(Feed({"2024-01-01", "2024-03-31"}).out,
              Feed({"2024-01-01", "2024-03-31", "--layers", "festivals,terms,statutory"}).out);

    const struct {
        std::string list;
        std::string mentions;
    } bad[] = {{"lunar,moon", "未知图层：\"moon\""},
               {"", "空项"},
               {"lunar,", "空项"},
               {",terms", "空项"},
               {"Lunar", "未知图层"}};
    for (const auto& b : bad) {
        const RunResult run = Feed({"2024-01-01", "2024-01-02", "--layers", b.list});
        EXPECT_EQ(run.status, 2) << b.list;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(b.mentions), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("lunar, terms, festivals, statutory, almanac"), std::string::npos) << run.err;
    }
}

TEST(QnCalIcs, RangesUpToTwoHundredYears)
{
    const RunResult longest = Feed({"1901-01-01", "2100-12-31", "--layers", "terms"});
    ASSERT_EQ(longest.status, 0) << longest.err;
    EXPECT_EQ(Values(longest.out, "SUMMARY").size(), 200u * 24u);
    const struct {
        std::vector<std::string> args;
        std::string mentions;
    } bad[] = {
        {{"1900-12-31", "2100-12-31"}, "最多 200 年"},
        {{"1800-03-01", "2000-03-01"}, "最多 200 年"},
        {{"2024-02-11", "2024-02-10"}, "起始日期晚于结束日期"},
        {{"2024-02-30", "2024-03-01"}, "没有这一天"},
        {{"2024-01-01", "2101-01-01"}, "2101"},
        {{"2024-01-01"}, "参数个数"},
    };
    for (const auto& b : bad) {
        const RunResult run = Feed(b.args);
        EXPECT_EQ(run.status, 2) << b.mentions;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(b.mentions), std::string::npos) << run.err;
    }
    EXPECT_EQ(Feed({"1800-03-01", "2000-02-29", "--layers", "terms"}).status, 0);
}

TEST(QnCalIcs, EveryEventLastsOneDayAndTheSkippedDaysHaveNone)
{
    const auto day = [](const std::string& d) {
        return qn::DaysFromCivil(std::stoi(d.substr(0, 4)), std::stoi(d.substr(4, 2)), std::stoi(d.substr(6, 2)));
    };
    const struct {
        std::string from, to;
        int skipped;
    } ranges[] = {{"1582-10-01", "1583-12-31", 10}, {"2023-01-01", "2100-12-31", 0}};
    std::vector<std::string> allStarts, allEnds;
    for (const auto& r : ranges) {
        const RunResult run = Feed({r.from, r.to, "--layers", "lunar"});
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<std::string> starts = Values(run.out, "DTSTART;VALUE=DATE");
        const std::vector<std::string> ends = Values(run.out, "DTEND;VALUE=DATE");
        ASSERT_EQ(starts.size(), ends.size());
        const std::string first = r.from.substr(0, 4) + r.from.substr(5, 2) + r.from.substr(8, 2);
        const std::string last = r.to.substr(0, 4) + r.to.substr(5, 2) + r.to.substr(8, 2);
        ASSERT_EQ(static_cast<long long>(starts.size()), day(last) - day(first) + 1 - r.skipped);
        for (std::size_t i = 0; i < starts.size(); ++i)
            ASSERT_EQ(day(ends[i]), day(starts[i]) + 1) << starts[i] << " " << ends[i];
        allStarts.insert(allStarts.end(), starts.begin(), starts.end());
        allEnds.insert(allEnds.end(), ends.begin(), ends.end());
    }
    EXPECT_EQ(allStarts[3], "15821004");
    EXPECT_EQ(allStarts[4], "15821015");
    EXPECT_EQ(allStarts.back(), "21001231");
    EXPECT_EQ(allEnds.back(), "21010101");
    EXPECT_EQ(std::count(allEnds.begin(), allEnds.end(), "20240301"), 1);  // from 02-29
}

TEST(QnCalIcs, UidsAreTheSameOnEveryRunAndUniqueInAFeed)
{
    const std::vector<std::string> args = {"2020-01-01", "2024-12-31", "--layers",
                                           "lunar,terms,festivals,statutory,almanac"};
    const RunResult first = Feed(args, qn::EncodeDateTime(2024, 1, 1, 0, 0, 0));
    const RunResult second = Feed(args, qn::EncodeDateTime(2031, 7, 8, 9, 10, 11));
    ASSERT_EQ(first.status, 0);
    ASSERT_NE(Values(first.out, "DTSTAMP"), Values(second.out, "DTSTAMP"));
    const std::vector<std::string> uids = Values(first.out, "UID");
    EXPECT_EQ(uids, Values(second.out, "UID"));
    EXPECT_EQ(std::set<std::string>(uids.begin(), uids.end()).size(), uids.size());
    // Independent of the other layers chosen.
    const std::vector<std::string> festivals =
        Values(Feed({"2020-01-01", "2024-12-31", "--layers", "festivals"}).out, "UID");
    for (const std::string& uid : festivals)
        EXPECT_NE(std::find(uids.begin(), uids.end(), uid), uids.end()) << uid;
    EXPECT_EQ(qncal::EventUid(2024, 2, 10, "festivals", "春节"), "20240210-festivals-b7d0da9247b75aba@qncal");
}

TEST(QnCalIcs, LinesAreFoldedAtSeventyFiveOctetsBetweenCharacters)
{
    const std::string cjk = "春夏秋冬";  // three bytes a character
    std::string longCjk, longAscii;
    for (int i = 0; i < 40; ++i)
        longCjk += cjk;
    longAscii.assign(300, 'x');
    for (const std::string& value : {longCjk, longAscii, "a" + longCjk, "ab" + longCjk, std::string("short")}) {
        std::string out;
        qncal::AppendIcsLine(out, "SUMMARY", value);
        ASSERT_EQ(out.substr(out.size() - 2), "\r\n");
        std::string unfolded;
        std::size_t at = 0;
        while (at < out.size()) {
            const auto end = out.find("\r\n", at);
            const std::string physical = out.substr(at, end - at);
            EXPECT_LE(physical.size(), qncal::IcsLineOctets) << physical;
            EXPECT_TRUE(IsValidUtf8(physical)) << "a character is split: " << physical;
            EXPECT_EQ(physical.find('\n'), std::string::npos);
            unfolded += at == 0 ? physical : physical.substr(1);
            if (at > 0) {
                EXPECT_EQ(physical[0], ' ');
            }
            at = end + 2;
        }
        EXPECT_EQ(unfolded, "SUMMARY:" + value);
    }
}

TEST(QnCalIcs, TextValuesAreEscaped)
{
    EXPECT_EQ(qncal::IcsEscapedText("a,b;c\\d\ne"), "a\\,b\\;c\\\\d\\ne");
    EXPECT_EQ(qncal::IcsEscapedText("[近、现代]中华民国"), "[近、现代]中华民国");
    EXPECT_EQ(qncal::IcsEscapedText("line\r\nbreak"), "line\\nbreak");
}

}  // namespace
