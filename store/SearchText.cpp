#include "store/SearchText.h"

#include "calendar/DateValue.h"

#include <QChar>

#include <algorithm>
#include <cstdio>

namespace qn {
namespace {

// How much of the text before the first hit the snippet shows.
constexpr int kLead = 16;

bool EndsLine(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\r' || u == u'\n' || u == u'\v' || u == u'\f' || u == 0x2028 || u == 0x2029;
}

// Shown as a space in the one-line snippet.
bool Spacing(QChar c) { return EndsLine(c) || c == u'\t'; }

}  // namespace

QString AsStored(const QString& typed) { return QString::fromUtf8(typed.toUtf8()); }

char32_t FoldForSearch(char32_t c)
{
    const char32_t folded = QChar::toCaseFolded(c);
    // A fold that would change the UTF-16 length is not taken: offsets in the
    // folded text are then offsets in the note.
    return QChar::requiresSurrogates(folded) == QChar::requiresSurrogates(c) ? folded : c;
}

QString FoldForSearch(const QString& text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        char32_t c = text[i].unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            units = 2;
        }
        const char32_t folded = FoldForSearch(c);
        if (QChar::requiresSurrogates(folded)) {
            out += QChar(QChar::highSurrogate(folded));
            out += QChar(QChar::lowSurrogate(folded));
        } else {
            out += QChar(static_cast<char16_t>(folded));
        }
        i += units;
    }
    return out;
}

std::string KeyOfDayNumber(int day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08d", day);
    return text;
}

std::vector<int> FindHits(const QString& foldedText, const QString& foldedQuery)
{
    std::vector<int> hits;
    if (foldedQuery.isEmpty())
        return hits;
    qsizetype at = 0;
    while ((at = foldedText.indexOf(foldedQuery, at)) >= 0) {
        hits.push_back(static_cast<int>(at));
        at += foldedQuery.size();
    }
    return hits;
}

int FirstHit(const QString& text, const QString& query)
{
    if (query.isEmpty())
        return -1;
    return static_cast<int>(FoldForSearch(text).indexOf(FoldForSearch(query)));
}

Snippet MakeSnippet(const QString& plain, const QString& query, int width)
{
    const QString foldedQuery = FoldForSearch(query);
    const std::vector<int> hits = FindHits(FoldForSearch(plain), foldedQuery);
    const int size = static_cast<int>(plain.size());
    const int queryLength = static_cast<int>(foldedQuery.size());
    const int first = hits.empty() ? 0 : hits.front();

    // Start a little before the first hit, or at the start of its line.
    int start = std::max(0, first - kLead);
    for (int i = first - 1; i >= start; --i) {
        if (EndsLine(plain[i])) {
            start = i + 1;
            break;
        }
    }
    if (start > 0 && start < size && plain[start].isLowSurrogate())
        --start;
    int end = std::min(size, std::max(start + std::max(width, 1), first + queryLength));
    if (end < size && end > 0 && plain[end - 1].isHighSurrogate())
        ++end;

    Snippet snippet;
    const bool cutBefore = start > 0;
    if (cutBefore)
        snippet.text += QChar(0x2026);
    // Where each position of the note lands in the line.
    std::vector<int> at(static_cast<size_t>(end - start + 1), 0);
    for (int i = start; i < end; ++i) {
        at[static_cast<size_t>(i - start)] = static_cast<int>(snippet.text.size());
        if (plain[i] == u'\r' && i + 1 < end && plain[i + 1] == u'\n') {
            at[static_cast<size_t>(i + 1 - start)] = static_cast<int>(snippet.text.size());
            ++i;
            snippet.text += QLatin1Char(' ');
            continue;
        }
        snippet.text += Spacing(plain[i]) ? QChar(u' ') : plain[i];
    }
    at[static_cast<size_t>(end - start)] = static_cast<int>(snippet.text.size());
    for (const int hit : hits) {
        const int from = std::max(hit, start);
        const int to = std::min(hit + queryLength, end);
        if (from >= to)
            continue;
        const int markStart = at[static_cast<size_t>(from - start)];
        const int markEnd = at[static_cast<size_t>(to - start)];
        if (markEnd > markStart)
            snippet.marks.push_back({markStart, markEnd - markStart});
    }
    if (end < size)
        snippet.text += QChar(0x2026);
    return snippet;
}

}  // namespace qn
