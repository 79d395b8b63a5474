#pragma once
// iCalendar (RFC 5545) content lines: "NAME:value" ended by CR LF and folded
// so that no line is longer than 75 octets, never inside a UTF-8 character.

#include <string>
#include <string_view>

namespace qncal {

// Most octets a line may hold, without its CR LF.
inline constexpr std::size_t IcsLineOctets = 75;

// A TEXT value escaped: backslash, semicolon and comma get a backslash, a
// newline becomes "\n".
std::string IcsEscapedText(std::string_view text);

// Appends "name:value" to out, folded (CR LF and one space before each
// continuation) and ended by CR LF. The value must already be escaped.
void AppendIcsLine(std::string& out, std::string_view name, std::string_view value);

}  // namespace qncal
