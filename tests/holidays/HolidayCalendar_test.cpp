#include "holidays/HolidayCalendar.h"
#include "holidays/HolidayData.h"
#include "holidays/HolidayTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qn::HolidayKind;

const qn::HolidayCalendar& BuiltIn()
{
    static const qn::HolidayCalendar calendar(qn::BuiltInHolidayRows());
    return calendar;
}

struct DayCase {
    int year, month, day;
    const char* tsv;  // "休 春节", "班 春节", "" ordinary, "?" unknown year
};

// Each checked against the notices in the shipped table.
const DayCase kDays[] = {
    {2020, 1, 31, "休 春节"},                              // the extension of 2020-01-27
    {2020, 2, 2, "休 春节"},     {2020, 2, 3, "班 春节"},  // the table names the first day back after the extension
    {2024, 2, 4, "班 春节"},     {2024, 2, 9, ""},         // 除夕 2024 was not a day off
    {2024, 2, 10, "休 春节"},    {2024, 2, 13, "休 春节"},
    {2024, 2, 17, "休 春节"},    {2024, 2, 18, "班 春节"},
    {2024, 2, 19, ""},           {2025, 1, 26, "班 春节"},
    {2025, 2, 8, "班 春节"},     {2026, 9, 20, "班 国庆节"},
    {2026, 10, 10, "班 国庆节"}, {2015, 9, 3, "休 抗日战争暨世界反法西斯战争胜利70周年纪念日"},
    {2006, 12, 30, "班 元旦"},  // named by the 2007 notice
    {2006, 12, 29, "?"},        // 2006's own notice is not in the table
    {2027, 1, 1, "?"},          // no notice yet: unknown, not ordinary
    {2024, 6, 15, ""},          // a Saturday of a known year
};

std::string TsvOf(const qn::HolidayCalendar& calendar, int y, int m, int d)
{
    const qn::HolidayStatus status = calendar.Look(y, m, d);
    return status.kind == HolidayKind::Unknown ? "?" : qn::HolidayTsvText(status);
}

TEST(HolidayCalendar, DaysOfTheShippedTable)
{
    for (const DayCase& c : kDays)
        EXPECT_EQ(TsvOf(BuiltIn(), c.year, c.month, c.day), c.tsv) << c.year << "-" << c.month << "-" << c.day;
}

TEST(HolidayCalendar, TheWholeSpringFestivalBlockOf2024IsOff)
{
    for (int day = 10; day <= 17; ++day)
        EXPECT_EQ(qn::HolidayDescription(BuiltIn().Look(2024, 2, day)), "春节 休") << day;
}

TEST(HolidayCalendar, ShippedTableIsWholeAndSound)
{
    // 678 days from twenty notices (679 lines with the header).
    const auto& rows = qn::BuiltInHolidayRows();
    EXPECT_EQ(rows.size(), 678u);
    EXPECT_EQ(*BuiltIn().NoticeYears().begin(), 2007);
    EXPECT_EQ(*BuiltIn().NoticeYears().rbegin(), 2026);
    EXPECT_EQ(BuiltIn().NoticeYears().size(), 20u);
    EXPECT_TRUE(qn::CheckHolidayRows(rows).empty());
}

// Weekends the notices left out inside a holiday block, and the ones that
// are next to a block but not inside it.
TEST(HolidayCalendar, UnlistedWeekendInsideABlockIsOff)
{
    const qn::HolidayStatus sunday = BuiltIn().Look(2014, 4, 6);  // between 4-5 and 4-7 off
    EXPECT_EQ(sunday.kind, HolidayKind::Off);
    EXPECT_EQ(sunday.name, "清明节");
    EXPECT_FALSE(sunday.listed);
    EXPECT_EQ(qn::HolidayTsvText(BuiltIn().Look(2015, 6, 21)), "休 端午节");
    EXPECT_TRUE(BuiltIn().Look(2015, 6, 20).listed);

    auto row = [](int y, int m, int d, bool off, const char* name, int notice) {
        return qn::HolidayRow{{y, m, d}, off, name, notice};
    };
    const qn::HolidayCalendar calendar({
        row(2030, 1, 4, true, "甲", 2030),   // Friday
        row(2030, 1, 7, true, "甲", 2030),   // Monday: Sat 5 and Sun 6 are inside
        row(2030, 1, 10, true, "甲", 2030),  // Thursday: Tue 8, Wed 9 are weekdays, left alone
        row(2030, 1, 18, true, "乙", 2030),  // Friday
        row(2030, 1, 21, true, "丙", 2030),  // Monday: 19, 20 lie between two holidays
        row(2030, 1, 24, true, "丁", 2030),  // Thursday; the weekend after it is not inside
        row(2030, 2, 1, true, "戊", 2030),   // Friday
        row(2030, 2, 2, false, "戊", 2030),  // Saturday worked
        row(2030, 2, 4, true, "戊", 2030),   // Monday: the listed 班 keeps Sunday 3 outside
    });
    EXPECT_EQ(qn::HolidayTsvText(calendar.Look(2030, 1, 5)), "休 甲");
    EXPECT_EQ(qn::HolidayTsvText(calendar.Look(2030, 1, 6)), "休 甲");
    EXPECT_EQ(calendar.Look(2030, 1, 8).kind, HolidayKind::Ordinary);
    EXPECT_EQ(calendar.Look(2030, 1, 19).kind, HolidayKind::Ordinary);
    EXPECT_EQ(calendar.Look(2030, 1, 20).kind, HolidayKind::Ordinary);
    EXPECT_EQ(calendar.Look(2030, 1, 26).kind, HolidayKind::Ordinary);
    EXPECT_EQ(qn::HolidayTsvText(calendar.Look(2030, 2, 2)), "班 戊");
    EXPECT_EQ(calendar.Look(2030, 2, 3).kind, HolidayKind::Ordinary);
}

TEST(HolidayCalendar, TextsForEveryView)
{
    const qn::HolidayStatus off = BuiltIn().Look(2024, 2, 10);
    const qn::HolidayStatus work = BuiltIn().Look(2024, 2, 4);
    const qn::HolidayStatus ordinary = BuiltIn().Look(2024, 3, 5);
    const qn::HolidayStatus unknown = BuiltIn().Look(2030, 2, 4);
    struct Row {
        const qn::HolidayStatus& status;
        const char *mark, *description, *field, *tsv, *header;
    };
    const Row rows[] = {
        {off, "休", "春节 休", "春节 休", "休 春节", "周 六/日 · 休"},
        {work, "班", "春节调休 上班", "春节调休 上班", "班 春节", "周 六/日 · 班"},
        {ordinary, "", "", "", "", "周 六/日"},
        {unknown, "", "", "无数据", "", "周 六/日"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(qn::HolidayMark(r.status), r.mark);
        EXPECT_EQ(qn::HolidayDescription(r.status), r.description);
        EXPECT_EQ(qn::HolidayFieldText(r.status), r.field);
        EXPECT_EQ(qn::HolidayTsvText(r.status), r.tsv);
        EXPECT_EQ(qn::WithHolidayMark("周 六/日", r.status), r.header);
    }
}

// Saturday and Sunday share one header: one mark when the days agree or only
// one is marked, both in the days' order when they differ.
TEST(HolidayCalendar, HeaderOfTwoDays)
{
    const qn::HolidayStatus off{HolidayKind::Off, "春节", true};
    const qn::HolidayStatus work{HolidayKind::Work, "春节", true};
    const qn::HolidayStatus ordinary{HolidayKind::Ordinary, "", false};
    const qn::HolidayStatus unknown{};
    struct Row {
        const qn::HolidayStatus &saturday, &sunday;
        const char* header;
    };
    const Row rows[] = {
        {off, off, "周 六/日 · 休"},       {off, ordinary, "周 六/日 · 休"},  {ordinary, off, "周 六/日 · 休"},
        {work, ordinary, "周 六/日 · 班"}, {ordinary, work, "周 六/日 · 班"}, {work, work, "周 六/日 · 班"},
        {work, off, "周 六/日 · 班/休"},   {off, work, "周 六/日 · 休/班"},   {ordinary, ordinary, "周 六/日"},
        {unknown, unknown, "周 六/日"},    {unknown, off, "周 六/日 · 休"},   {work, unknown, "周 六/日 · 班"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(qn::WithHolidayMark("周 六/日", r.saturday, r.sunday), r.header)
            << qn::HolidayMark(r.saturday) << "|" << qn::HolidayMark(r.sunday);
}

TEST(HolidayCalendar, InvalidDateIsUnknown)
{
    EXPECT_EQ(BuiltIn().Look(2024, 2, 30).kind, HolidayKind::Unknown);
    EXPECT_EQ(BuiltIn().Look(2024, 13, 1).kind, HolidayKind::Unknown);
}

}  // namespace
