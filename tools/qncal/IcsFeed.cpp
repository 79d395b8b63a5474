#include "tools/qncal/IcsFeed.h"

#include "tools/qncal/DayRun.h"
#include "tools/qncal/IcsText.h"

#include <cstdint>
#include <cstdio>

namespace qncal {

namespace {

std::string IcsDate(int year, int month, int day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
    return text;
}

std::string IcsUtcStamp(double stamp)
{
    const qn::CivilDate d = qn::DecodeDate(stamp);
    const qn::TimeOfDay t = qn::DecodeTime(stamp);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", d.year, d.month, d.day, t.hour, t.minute, t.second);
    return text;
}

// 64-bit FNV-1a: small, and fixed by its definition, so every build on
// every machine gives the same UIDs.
std::uint64_t Fnv1a(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string CalendarName(const std::vector<const FeedLayer*>& layers)
{
    std::string name = "农历";
    std::string titles;
    for (const FeedLayer* layer : layers)
        titles += (titles.empty() ? "" : "、") + std::string(layer->title);
    if (!titles.empty())
        name += "（" + titles + "）";
    return name;
}

}  // namespace

namespace {

void WriteDayEvents(std::string& text, const DayInfo& day, const std::vector<const FeedLayer*>& layers,
                    const std::string& stamp, std::vector<FeedEvent>& events)
{
    const qn::CivilDate next = NextDay({day.year, day.month, day.day});
    const std::string start = IcsDate(day.year, day.month, day.day);
    const std::string end = IcsDate(next.year, next.month, next.day);
    for (const FeedLayer* layer : layers) {
        if (layer->collect == nullptr)
            continue;
        events.clear();
        layer->collect(day, events);
        for (const FeedEvent& event : events) {
            AppendIcsLine(text, "BEGIN", "VEVENT");
            AppendIcsLine(text, "UID", EventUid(day.year, day.month, day.day, layer->name, event.summary));
            AppendIcsLine(text, "DTSTAMP", stamp);
            AppendIcsLine(text, "DTSTART;VALUE=DATE", start);
            AppendIcsLine(text, "DTEND;VALUE=DATE", end);
            AppendIcsLine(text, "SUMMARY", IcsEscapedText(event.summary));
            if (!event.description.empty())
                AppendIcsLine(text, "DESCRIPTION", IcsEscapedText(event.description));
            AppendIcsLine(text, "CATEGORIES", IcsEscapedText(layer->title));
            AppendIcsLine(text, "TRANSP", "TRANSPARENT");
            AppendIcsLine(text, "END", "VEVENT");
        }
    }
}

}  // namespace

std::string EventUid(int year, int month, int day, std::string_view layer, std::string_view summary)
{
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(summary)));
    return IcsDate(year, month, day) + "-" + std::string(layer) + "-" + hash + "@qncal";
}

void WriteFeed(BlockWriter& out, const FeedRequest& request)
{
    std::string& text = out.Text();
    const std::string stamp = IcsUtcStamp(request.stamp);
    AppendIcsLine(text, "BEGIN", "VCALENDAR");
    AppendIcsLine(text, "VERSION", "2.0");
    AppendIcsLine(text, "PRODID", "-//QN周记事本//qncal " QNCAL_VERSION "//ZH");
    AppendIcsLine(text, "CALSCALE", "GREGORIAN");
    AppendIcsLine(text, "METHOD", "PUBLISH");
    AppendIcsLine(text, "X-WR-CALNAME", IcsEscapedText(CalendarName(request.layers)));
    AppendIcsLine(text, "X-WR-CALDESC",
                  IcsEscapedText("qncal 生成的农历日历，"
                                 + FormatDate(request.from.year, request.from.month, request.from.day) + " 至 "
                                 + FormatDate(request.to.year, request.to.month, request.to.day)));

    DayRun run(request.holidays, AnyLayerFrom(request.layers, LayerSource::Almanac));
    DayInfo day;
    std::vector<FeedEvent> events;
    for (qn::CivilDate date = request.from;; date = NextDay(date)) {
        if (DayExists(date.year, date.month, date.day)) {
            run.LookUp(day, date.year, date.month, date.day);
            WriteDayEvents(text, day, request.layers, stamp, events);
            if (!out.LineDone())
                return;
        }
        if (date == request.to)
            break;
    }
    AppendIcsLine(text, "END", "VCALENDAR");
    out.Flush();
}

}  // namespace qncal
