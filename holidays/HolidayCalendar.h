#pragma once
// Answers, for a date, what the statutory holiday notices make of it: a day
// off (休), an adjusted working day (班), an ordinary day of a year whose
// notice is known, or unknown (no notice for that year, so nothing may be
// assumed).
//
// The notices list the days off and the weekend days worked in exchange; an
// ordinary weekend that simply falls inside a holiday block is sometimes left
// out (2014-04-06, 2015-06-21). Such a day counts as 休 too: an unlisted
// Saturday or Sunday is inside a block when the days on both sides of it,
// skipping only other unlisted weekend days, are listed days off of the same
// holiday of the same notice. Weekdays are never filled in, and a weekend
// next to a block but not between two of its days off stays ordinary.

#include "calendar/DateValue.h"
#include "holidays/HolidayRows.h"

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace qn {

enum class HolidayKind {
    Unknown,   // no notice covers the date's year: show nothing, plan nothing
    Ordinary,  // the year's notice is known and does not name the date
    Off,       // 休
    Work,      // 班
};

struct HolidayStatus {
    HolidayKind kind = HolidayKind::Unknown;
    std::string name;     // the holiday, for Off and Work
    bool listed = false;  // named by the notice (false for a weekend filled in)
    friend bool operator==(const HolidayStatus&, const HolidayStatus&) = default;
};

class HolidayCalendar {
public:
    HolidayCalendar() = default;
    // rows: a checked table, as ParseHolidayCsv or MergeNoticeYears give it.
    explicit HolidayCalendar(std::vector<HolidayRow> rows);

    HolidayStatus Look(const CivilDate& date) const;
    HolidayStatus Look(int year, int month, int day) const { return Look(CivilDate{year, month, day}); }

    // A year is known when some notice of that year is in the table. Days a
    // notice names in the year before it do not make that year known.
    bool IsKnownYear(int year) const { return noticeYears_.contains(year); }
    const std::set<int>& NoticeYears() const { return noticeYears_; }
    const std::vector<HolidayRow>& Rows() const { return rows_; }

private:
    struct Entry {
        bool off = false;
        bool listed = false;
        std::size_t row = 0;  // index into rows_ for the name
    };
    std::vector<HolidayRow> rows_;
    std::set<int> noticeYears_;
    std::unordered_map<long long, Entry> days_;  // keyed by DaysFromCivil
};

}  // namespace qn
