#include "holidays/HolidayTexts.h"

namespace qn {

std::string HolidayMark(const HolidayStatus& status)
{
    switch (status.kind) {
    case HolidayKind::Off: return "休";
    case HolidayKind::Work: return "班";
    case HolidayKind::Unknown:
    case HolidayKind::Ordinary: break;
    }
    return {};
}

std::string HolidayDescription(const HolidayStatus& status)
{
    switch (status.kind) {
    case HolidayKind::Off: return status.name + " 休";
    case HolidayKind::Work: return status.name + "调休 上班";
    case HolidayKind::Unknown:
    case HolidayKind::Ordinary: break;
    }
    return {};
}

std::string HolidayFieldText(const HolidayStatus& status)
{
    if (status.kind == HolidayKind::Unknown)
        return kNoHolidayDataText;
    return HolidayDescription(status);
}

std::string HolidayTsvText(const HolidayStatus& status)
{
    const std::string mark = HolidayMark(status);
    return mark.empty() ? mark : mark + " " + status.name;
}

namespace {

std::string WithMark(const std::string& header, const std::string& mark)
{
    return mark.empty() ? header : header + " · " + mark;
}

}  // namespace

std::string WithHolidayMark(const std::string& header, const HolidayStatus& status)
{
    return WithMark(header, HolidayMark(status));
}

std::string HolidayMarkOfDays(const HolidayStatus& first, const HolidayStatus& second)
{
    const std::string a = HolidayMark(first);
    const std::string b = HolidayMark(second);
    if (a.empty() || a == b)
        return b;
    return b.empty() ? a : a + "/" + b;
}

std::string WithHolidayMark(const std::string& header, const HolidayStatus& first, const HolidayStatus& second)
{
    return WithMark(header, HolidayMarkOfDays(first, second));
}

}  // namespace qn
