#include "calendar/EraNames.h"

#include "calendar/EraRows.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

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

// Field 1 of a row as a year; 0 when it is not a number.
int StartYear(const char* row)
{
    const std::string field = GetDelimitedField(row, ',', 1);
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
    std::array<int, EraRowCount> start{};
    std::array<short, LastEraYear - FirstEraYear + 1> rowOfYear{};

    EraIndex()
    {
        for (int i = 0; i < EraRowCount; ++i)
            start[i] = StartYear(EraRows[i]);
        rowOfYear.fill(-1);
        for (int i = 0; i + 1 < EraRowCount; ++i) {
            const int from = std::max(start[i], FirstEraYear);
            const int to = std::min(start[i + 1] - 1, LastEraYear);
            for (int y = from; y <= to; ++y) {
                short& row = rowOfYear[y - FirstEraYear];
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
    const int row = index.rowOfYear[year - FirstEraYear];
    if (row < 0)
        return {};
    const std::string text = EraRows[row];
    const int k = year - index.start[row] + 1;
    return "[" + GetDelimitedField(text, ',', 4) + "]" + GetDelimitedField(text, ',', 5) + " "
        + GetDelimitedField(text, ',', 6) + " " + GetDelimitedField(text, ',', 7)
        + (k == 1 ? std::string("元") : std::to_string(k)) + "年";
}
