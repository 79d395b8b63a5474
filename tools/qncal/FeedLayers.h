#pragma once
// The layers a calendar feed can carry. Each layer turns a day into the
// events it shows that day; the feed writes them out.

#include "tools/qncal/DayReport.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qncal {

struct FeedEvent {
    std::string summary;
    std::string description;
};

// Where a layer's events come from, so that a feed reads the holiday table
// or works out the almanac only when a layer shows them.
enum class LayerSource { Calendar, Holidays, Almanac };

struct FeedLayer {
    std::string_view name;   // as given to --layers
    std::string_view title;  // in Chinese: the events' category and part of the calendar's name
    std::string_view help;   // one line of the help text
    LayerSource source;
    // Appends the layer's events of the day. Empty for a layer whose data
    // source is not part of the program yet: it is accepted and shows nothing.
    void (*collect)(const DayInfo& day, std::vector<FeedEvent>& events);
};

// Every layer, in the order the events of one day are written.
std::span<const FeedLayer> FeedLayers();

// The layers used when --layers is not given.
inline constexpr std::string_view DefaultLayerList = "festivals,terms,statutory";

// The layers named in a comma-separated list, in table order and each once.
// On an unknown or empty name, false with a Chinese message in error.
bool ParseLayerList(std::string_view list, std::vector<const FeedLayer*>& layers, std::string& error);

// Whether one of the layers comes from the source.
bool AnyLayerFrom(const std::vector<const FeedLayer*>& layers, LayerSource source);

}  // namespace qncal
