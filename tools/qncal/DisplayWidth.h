#pragma once
// Terminal column arithmetic for UTF-8 text: Chinese characters take two
// columns, so padding by byte or code-point count would break the grid.

#include <string>
#include <string_view>

namespace qncal {

// Columns a single code point takes: 2 for CJK and fullwidth forms, 0 for
// combining marks and control characters, 1 otherwise.
int CodePointWidth(char32_t cp);

// Columns the UTF-8 text takes. A malformed byte counts as one column.
int DisplayWidth(std::string_view utf8);

// Columns the text takes on a terminal: like DisplayWidth, but colour
// escape sequences (ESC [ ... m) take none.
int TerminalWidth(std::string_view text);

// The text cut to at most `width` columns at a character boundary. A trailing
// 月 or 节 is dropped first ("闰十一月" becomes "闰十一"), since the rest still
// reads right; only then are characters cut from the end.
std::string FitToWidth(std::string_view utf8, int width);

// The text fitted to `width` columns and padded with spaces on both sides;
// an odd leftover column goes to the right.
std::string Centered(std::string_view utf8, int width);

}  // namespace qncal
