#pragma once
// Days one after another, fast, for the long outputs (--tsv, --ics). A
// DayRun fills the same DayInfo as LookUpDay, but asks the engine's parts
// directly and works out once per month what changes at most once a month
// (the year and month stem-branch names), instead of
// everything for every day. A test holds the two equal on every day of
// years 1..2100.

#include "tools/qncal/DayReport.h"

#include <array>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

namespace qncal {

class DayRun {
public:
    // holidays: the table for the statutory status (Unknown without one).
    // withAlmanac false leaves the almanac texts empty, for a run that does
    // not show them.
    explicit DayRun(const qn::HolidayCalendar* holidays = nullptr, bool withAlmanac = true);
    DayRun(const DayRun&) = delete;
    DayRun& operator=(const DayRun&) = delete;

    // Fills info for an existing date of years 1..2100 (see DayExists).
    // Any order works; days of one month in a row are the fast case.
    void LookUp(DayInfo& info, int year, int month, int day);

private:
    const qn::HolidayCalendar* holidayTable_;
    bool withAlmanac_;
    // The years in which the holiday table names a day or has a notice:
    // in every other year each day is Unknown, and the table is not asked.
    std::vector<bool> holidayYears_;
    bool holidayMonth_ = false;  // the prepared month lies in such a year

    static constexpr std::size_t MonthSlots = 32;  // index 1..31

    int preparedYear_ = INT_MIN, preparedMonth_ = 0;
    std::array<int, MonthSlots> yearGanZhi_{}, monthGanZhi_{}, dayGanZhi_{}, constellation_{};
    std::array<std::string_view, MonthSlots> solarTerm_{};
    // The Gregorian festivals of a month follow from the month, its length
    // and the weekday of its first day: [month - 1, or 12 for a February of
    // 29 days][weekday of the 1st - 1][day].
    std::array<std::array<std::array<std::string_view, MonthSlots>, 7>, 13> holidays_{};
    std::array<std::array<bool, 7>, 13> holidaysKnown_{};
    const std::array<std::string_view, MonthSlots>* holiday_ = nullptr;

    // The last values written into a DayInfo, so that a text is copied
    // only when it changes. Another DayInfo starts afresh; nothing else may
    // write into the DayInfo between two calls.
    const DayInfo* lastInfo_ = nullptr;
    int eraYear_ = INT_MIN, lunarYear_ = INT_MIN, lunarMonthKey_ = INT_MIN;
    int yearGanZhiShown_ = -1, monthGanZhiShown_ = -1;
    // The day texts as last written: lunar day, day stem-branch,
    // constellation, Gregorian festival, lunar festival, solar term.
    std::array<std::string_view, 6> shown_{};

    void PrepareMonth(int year, int month);
    // Writes the text into the field unless it is the one shown there.
    static void Show(std::string& field, std::string_view& shown, std::string_view text);
};

}  // namespace qncal
