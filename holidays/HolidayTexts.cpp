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

std::string WithHolidayMark(const std::string& header, const HolidayStatus& status)
{
    const std::string mark = HolidayMark(status);
    return mark.empty() ? header : header + " · " + mark;
}

}  // namespace qn
