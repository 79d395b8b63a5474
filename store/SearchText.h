#pragma once
// What a search matches and how a hit is shown: one case folding for the
// index and the scan, the day keys that take part, the hits in a note and the
// one-line snippet around the first of them.
//
// A search text matches a note when the folded text is a substring of the
// folded note. Folding maps every character to its simple case fold (Latin,
// Greek, Cyrillic letters ...) and leaves every other character as it is, so
// the folded text has as many characters as the note.

#include "core/DayTexts.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

// A search text as the notes would store it (UTF-8): a half of a surrogate
// pair, which no note can hold, becomes what storing makes of it. The index
// and the scan both look for this text, so they always agree.
QString AsStored(const QString& typed);

char32_t FoldForSearch(char32_t c);
QString FoldForSearch(const QString& text);

// The key of a day number YYYYMMDD (see DayNumberOfKey).
std::string KeyOfDayNumber(int day);

// Where each hit of the folded query lies in the folded text (UTF-16
// offsets), left to right, not overlapping.
std::vector<int> FindHits(const QString& foldedText, const QString& foldedQuery);

struct TextSpan {
    int start = 0;
    int length = 0;
    friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

// One line of a note around its first hit: line breaks and tabs become
// spaces, "…" marks text left out at either end, marks are the hits inside
// the line.
struct Snippet {
    QString text;
    std::vector<TextSpan> marks;
};

// The snippet of plain (the note's text) for query; about width characters
// long. A note without a hit gives its beginning without marks.
Snippet MakeSnippet(const QString& plain, const QString& query, int width = 60);

// The position of the first hit of query in text (UTF-16 offset), or -1.
int FirstHit(const QString& text, const QString& query);

}  // namespace qn
