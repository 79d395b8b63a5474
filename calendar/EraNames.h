#pragma once
// Era names: the historical Chinese reign of a Gregorian year before 1949.

#include <string>

// The N-th (1-based) piece of text between delimiters, trimmed of blanks and
// control characters; empty when the text has fewer pieces.
std::string GetDelimitedField(const std::string& text, char delimiter, int n);

// "[清]德宗 爱新觉罗载湉 光绪26年" for 1900; empty outside -2069..1948.
std::string GetEraText(int year);
