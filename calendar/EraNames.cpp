#include "calendar/EraNames.h"

#include "calendar/EraRows.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <vector>

namespace {

constexpr int FirstEraYear = -2069;
constexpr int LastEraYear = 1948;

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7f'; }

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsBlankOrControl(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankOrControl(s.back()))
        s.remove_suffix(1);
    return s;
}

// A numeric field of a row; 0 when it is not a number.
int NumberField(const char* row, int n)
{
    const std::string field = GetDelimitedField(row, ',', n);
    int value = 0;
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    return (ec == std::errc() && ptr == end) ? value : 0;
}

// The row that names each year. The lookup walks the rows in order and takes
// the first row whose span [start, next row's start) holds the year; parallel
// blocks that restart earlier therefore never win. The walk is done once here
// so that naming a year is a table look-up.
struct EraIndex {
    std::vector<int> start;
    // Years of the same era that passed before the row began (an era carried
    // on by the next ruler goes on counting).
    std::vector<int> earlierYears;
    std::array<short, LastEraYear - FirstEraYear + 1> rowOfYear{};

    EraIndex()
    {
        start.resize(static_cast<std::size_t>(EraRowCount));
        earlierYears.resize(static_cast<std::size_t>(EraRowCount));
        for (std::size_t i = 0; i < start.size(); ++i) {
            start[i] = NumberField(EraRows[i], 1);
            earlierYears[i] = NumberField(EraRows[i], 3);
        }
        rowOfYear.fill(-1);
        for (std::size_t i = 0; i + 1 < start.size(); ++i) {
            const int from = std::max(start[i], FirstEraYear);
            const int to = std::min(start[i + 1] - 1, LastEraYear);
            for (int y = from; y <= to; ++y) {
                short& row = rowOfYear[static_cast<std::size_t>(y - FirstEraYear)];
                if (row < 0)
                    row = static_cast<short>(i);
            }
        }
    }
};

const EraIndex& Index()
{
    static const EraIndex index;
    return index;
}

}  // namespace

std::string GetDelimitedField(const std::string& text, char delimiter, int n)
{
    if (n < 1)
        return {};
    std::string_view rest(text);
    for (int field = 1;; ++field) {
        const auto cut = rest.find(delimiter);
        const std::string_view piece = rest.substr(0, cut);
        if (field == n)
            return std::string(Trimmed(piece));
        if (cut == std::string_view::npos)
            return {};
        rest.remove_prefix(cut + 1);
    }
}

std::string GetEraText(int year)
{
    if (year < FirstEraYear || year > LastEraYear)
        return {};
    const EraIndex& index = Index();
    const int row = index.rowOfYear[static_cast<std::size_t>(year - FirstEraYear)];
    if (row < 0)
        return {};
    const std::string text = EraRows[row];
    const auto r = static_cast<std::size_t>(row);
    const int k = year - index.start[r] + 1 + index.earlierYears[r];
    return "[" + GetDelimitedField(text, ',', 4) + "]" + GetDelimitedField(text, ',', 5) + " "
        + GetDelimitedField(text, ',', 6) + " " + GetDelimitedField(text, ',', 7)
        + (k == 1 ? std::string("元") : std::to_string(k)) + "年";
}
