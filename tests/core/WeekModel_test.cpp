#include "calendar/DateValue.h"
#include "core/uGlobal.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

struct WeekCase {
    const char* name;
    int year, month, day;
    std::array<const char*, 7> keys;
    qn::CivilDate sunday;
};

TEST(BuildWeek, KeysOfTheWeekOfADay)
{
    const WeekCase cases[] = {
        {"Tuesday",
         2010,
         6,
         1,
         {"20100531", "20100601", "20100602", "20100603", "20100604", "20100605", "20100605"},
         {2010, 6, 6}},
        {"Monday across a year end",
         2008,
         12,
         29,
         {"20081229", "20081230", "20081231", "20090101", "20090102", "20090103", "20090103"},
         {2009, 1, 4}},
        {"Sunday in a leap February",
         2012,
         3,
         4,
         {"20120227", "20120228", "20120229", "20120301", "20120302", "20120303", "20120303"},
         {2012, 3, 4}},
        {"Saturday",
         2012,
         3,
         3,
         {"20120227", "20120228", "20120229", "20120301", "20120302", "20120303", "20120303"},
         {2012, 3, 4}},
        {"before day zero",
         1899,
         12,
         28,
         {"18991225", "18991226", "18991227", "18991228", "18991229", "18991230", "18991230"},
         {1899, 12, 31}},
        {"first week of year 1",
         1,
         1,
         3,
         {"00010101", "00010102", "00010103", "00010104", "00010105", "00010106", "00010106"},
         {1, 1, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TWeekConArray week(7);
        BuildWeek(week, qn::EncodeDate(c.year, c.month, c.day));
        for (int i = 0; i < 7; ++i) {
            const auto& slot = week[static_cast<size_t>(i)];
            EXPECT_EQ(slot.DayNo, i + 1);
            EXPECT_EQ(slot.BoxNo, i < 6 ? i + 1 : 6);
            EXPECT_EQ(slot.DayKey, c.keys[static_cast<size_t>(i)]) << "slot " << i;
            EXPECT_EQ(slot.DayDate - week[0].DayDate, i) << "slot " << i;
        }
        EXPECT_EQ(qn::DecodeDate(week[6].DayDate), c.sunday);
        EXPECT_EQ(qn::IsoWeekday(week[0].DayDate), 1);
    }
}

TEST(BuildWeek, TimeOfDayIsCarriedIntoEverySlotAndNeverIntoKeys)
{
    TWeekConArray week(7);
    const double d = qn::EncodeDateTime(2010, 6, 1, 23, 59, 0);
    BuildWeek(week, d);
    EXPECT_DOUBLE_EQ(week[1].DayDate, d);
    for (const auto& slot : week) {
        EXPECT_EQ(qn::DecodeTime(slot.DayDate).hour, 23);
        EXPECT_EQ(qn::DecodeTime(slot.DayDate).minute, 59);
    }
    EXPECT_EQ(week[0].DayKey, "20100531");
    EXPECT_EQ(week[6].DayKey, "20100605");
}

TEST(BuildWeek, SaturdayAndSundayGiveTheSameWeekAndRebuildingOverwritesEverySlot)
{
    TWeekConArray fromSaturday(7), fromSunday(7);
    BuildWeek(fromSaturday, qn::EncodeDate(2010, 6, 5));
    BuildWeek(fromSunday, qn::EncodeDate(2010, 6, 6));
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(fromSaturday[i].DayKey, fromSunday[i].DayKey);

    TWeekConArray again(7);
    BuildWeek(again, qn::EncodeDate(2010, 6, 5));
    EXPECT_EQ(again, fromSaturday);
    BuildWeek(again, qn::EncodeDate(2024, 2, 29));
    for (size_t i = 0; i < 7; ++i)
        EXPECT_NE(again[i].DayKey, fromSaturday[i].DayKey);
    EXPECT_EQ(again[0].DayKey, "20240226");
}

}  // namespace
