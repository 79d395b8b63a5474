#pragma once
// Era names: the historical Chinese reign of a Gregorian year before 1949.

#include <string>

// The N-th (1-based) piece of text between delimiters, trimmed of blanks and
// control characters; empty when the text has fewer pieces.
std::string GetDelimitedField(const std::string& text, char delimiter, int n);

// "[清]德宗 爱新觉罗载湉 光绪26年" for 1900; empty outside -2069..1948.
// The year within the era counts on across rows that continue one era
// (至元 of 1264 is 至元22年 in 1285, in the row that starts in 1271).
std::string GetEraText(int year);
