#include "holidays/HolidayCalendar.h"

#include <algorithm>
#include <map>
#include <utility>

namespace qn {

namespace {

long long DayKey(const CivilDate& date) { return DaysFromCivil(date.year, date.month, date.day); }

// Day 0 (1899-12-30) was a Saturday.
bool IsWeekend(long long day)
{
    const long long sinceSaturday = ((day % 7) + 7) % 7;
    return sinceSaturday == 0 || sinceSaturday == 1;
}

}  // namespace

HolidayCalendar::HolidayCalendar(std::vector<HolidayRow> rows) : rows_(std::move(rows))
{
    noticeYears_ = NoticeYearsOf(rows_);
    // Later notices overwrite earlier ones for a date both name.
    std::vector<std::size_t> order(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](std::size_t a, std::size_t b) { return rows_[a].noticeYear < rows_[b].noticeYear; });
    for (std::size_t i : order)
        days_[DayKey(rows_[i].date)] = Entry{rows_[i].off, true, i};

    // The listed days off of each holiday of each notice, in date order.
    std::map<std::pair<int, std::string>, std::vector<std::pair<long long, std::size_t>>> blocks;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const long long day = DayKey(rows_[i].date);
        const Entry& entry = days_[day];
        if (rows_[i].off && entry.row == i)
            blocks[{rows_[i].noticeYear, rows_[i].name}].emplace_back(day, i);
    }
    for (auto& [holiday, offDays] : blocks) {
        std::sort(offDays.begin(), offDays.end());
        for (std::size_t k = 1; k < offDays.size(); ++k) {
            const long long from = offDays[k - 1].first, to = offDays[k].first;
            bool onlyUnlistedWeekends = to - from > 1;
            for (long long day = from + 1; day < to && onlyUnlistedWeekends; ++day)
                onlyUnlistedWeekends = IsWeekend(day) && !days_.contains(day);
            if (!onlyUnlistedWeekends)
                continue;
            for (long long day = from + 1; day < to; ++day)
                days_[day] = Entry{true, false, offDays[k - 1].second};
        }
    }
}

HolidayStatus HolidayCalendar::Look(const CivilDate& date) const
{
    if (!IsValidDate(date.year, date.month, date.day))
        return {};
    const auto found = days_.find(DayKey(date));
    if (found != days_.end()) {
        const Entry& entry = found->second;
        return {entry.off ? HolidayKind::Off : HolidayKind::Work, rows_[entry.row].name, entry.listed};
    }
    if (IsKnownYear(date.year))
        return {HolidayKind::Ordinary, {}, false};
    return {};
}

}  // namespace qn
