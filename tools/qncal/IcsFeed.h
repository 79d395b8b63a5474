#pragma once
// A calendar feed (iCalendar, RFC 5545) of all-day events for a range of
// days, with the chosen layers. Calendar programs import or subscribe to it.

#include "calendar/DateValue.h"
#include "tools/qncal/BlockWriter.h"
#include "tools/qncal/FeedLayers.h"

#include <string>
#include <string_view>
#include <vector>

namespace qncal {

struct FeedRequest {
    qn::CivilDate from, to;                         // both included; existing days of years 1..2100
    std::vector<const FeedLayer*> layers;           // in table order
    double stamp = 0;                               // when the feed is made, as a UTC date value
    const qn::HolidayCalendar* holidays = nullptr;  // for the statutory layer
};

// Writes the whole calendar. Days without a lunar date (the ten days of
// the 1582 reform) have no events.
void WriteFeed(BlockWriter& out, const FeedRequest& request);

// The UID of an event: the same on every run and every machine, made from
// the date, the layer and the text, so that importing again updates events
// instead of adding them twice.
std::string EventUid(int year, int month, int day, std::string_view layer, std::string_view summary);

}  // namespace qncal
