#include "tools/qncal/FeedLayers.h"

#include "holidays/HolidayTexts.h"

#include <algorithm>

namespace qncal {

namespace {

void LunarDays(const DayInfo& day, std::vector<FeedEvent>& events)
{
    if (day.cal.LunarDayText.empty())
        return;
    const TChnCal& c = day.cal;
    events.push_back({LunarDateText(day), c.YearGanZhi + "年 " + c.MonthGanZhi + "月 " + c.DayGanZhi + "日"});
}

void SolarTerms(const DayInfo& day, std::vector<FeedEvent>& events)
{
    if (!day.cal.SolarTerm.empty())
        events.push_back({day.cal.SolarTerm, "农历" + LunarDateText(day)});
}

void Festivals(const DayInfo& day, std::vector<FeedEvent>& events)
{
    for (const std::string* festival : {&day.cal.Holiday, &day.cal.LunarHoliday}) {
        if (!festival->empty())
            events.push_back({*festival, "农历" + LunarDateText(day)});
    }
}

// A day off or a working day in exchange, as the notice names it:
// "春节 休", "春节调休 上班". A year without a notice has none.
void StatutoryDays(const DayInfo& day, std::vector<FeedEvent>& events)
{
    const std::string text = qn::HolidayDescription(day.statutory);
    if (text.empty())
        return;
    events.push_back({text, day.statutory.kind == qn::HolidayKind::Off ? "法定节假日，放假" : "法定节假日调休，上班"});
}

// Each almanac text of the day is an event of its own.
void AlmanacDays(const DayInfo& day, std::vector<FeedEvent>& events)
{
    std::string_view rest = day.almanac;
    while (!rest.empty()) {
        const auto space = rest.find(' ');
        events.push_back({std::string(rest.substr(0, space)), "农历" + LunarDateText(day)});
        rest.remove_prefix(space == std::string_view::npos ? rest.size() : space + 1);
    }
}

const FeedLayer Layers[] = {
    {"lunar", "农历", "每天一项农历日期，如“冬月初二”“闰二月初一”", LayerSource::Calendar, LunarDays},
    {"terms", "节气", "二十四节气", LayerSource::Calendar, SolarTerms},
    {"festivals", "节日", "公历节日和农历节日", LayerSource::Calendar, Festivals},
    {"statutory", "休班", "法定假日的放假（休）和调休上班（班），如“春节 休”", LayerSource::Holidays, StatutoryDays},
    {"almanac", "节令", "数九、三伏、入梅、出梅、小年等节令，如“一九第4天”", LayerSource::Almanac, AlmanacDays},
};

}  // namespace

std::span<const FeedLayer> FeedLayers() { return Layers; }

bool ParseLayerList(std::string_view list, std::vector<const FeedLayer*>& layers, std::string& error)
{
    std::vector<bool> chosen(std::size(Layers), false);
    while (true) {
        const auto comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        const auto found =
            std::find_if(std::begin(Layers), std::end(Layers), [&](const FeedLayer& l) { return l.name == name; });
        if (found == std::end(Layers)) {
            std::string known;
            for (const FeedLayer& l : Layers)
                known += (known.empty() ? "" : ", ") + std::string(l.name);
            error = name.empty() ? "图层列表里有空项（可用的图层：" + known + "）"
                                 : "未知图层：\"" + std::string(name) + "\"（可用的图层：" + known + "）";
            return false;
        }
        chosen[static_cast<std::size_t>(found - std::begin(Layers))] = true;
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    layers.clear();
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (chosen[i])
            layers.push_back(&Layers[i]);
    }
    return true;
}

bool AnyLayerFrom(const std::vector<const FeedLayer*>& layers, LayerSource source)
{
    return std::any_of(layers.begin(), layers.end(), [source](const FeedLayer* l) { return l->source == source; });
}

}  // namespace qncal
