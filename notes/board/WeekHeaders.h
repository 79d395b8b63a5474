#pragma once
// The texts over the six boxes of the shown week: the weekday ("周 一" …
// "周 六/日") and, when the holiday table names a day of the box, its mark
// ("周 六/日 · 休", "周 一 · 班") with a tooltip saying which day is what.
// Saturday and Sunday share a box and its header; a day of a year without a
// notice adds nothing.

#include "core/uGlobal.h"
#include "holidays/HolidayCalendar.h"

#include <QString>

#include <array>

namespace qn {

struct WeekBoxHeader {
    QString text;     // "周 六/日 · 班/休": the header as plain text
    QString html;     // the same with the mark coloured, for the label
    QString toolTip;  // "2月3日 周六：春节调休 上班", a line per marked day; empty without marks
    friend bool operator==(const WeekBoxHeader&, const WeekBoxHeader&) = default;
};

// The six headers of a week as BuildWeek makes it (seven slots, Monday
// first); without a table, or for a week not built yet, the weekdays alone.
std::array<WeekBoxHeader, 6> WeekBoxHeaders(const TWeekConArray& week, const HolidayCalendar* holidays);

}  // namespace qn
