#pragma once
// HTML from the clipboard or a drop, reduced to what a note keeps: text,
// character formats (family, size, bold, italic, underline, strike-out,
// colour) and paragraphs. What the box shows after a paste is then exactly
// what the RTF stream stores and loads again.
//
// Our own small reader, not Qt's HTML importer: a table or a picture never
// reaches Qt's layout, where a deeply nested table overflows the stack and an
// <img src="file:///dev/zero"> reads without end.
//   - block elements (p, div, h1..h6, li, tr, pre, ...) end a paragraph,
//     each <br> is one; list items are lines without a bullet
//   - table rows are lines, their cells joined by tabs; inside a cell the
//     line breaks of its content become spaces
//   - pictures, objects, forms' lists, scripts, styles, the head and hidden
//     elements (display:none, hidden) are dropped
//   - b/strong, i/em, u/ins, s/del, headings, big/small, <font> and the style
//     attribute's font-weight, font-style, text-decoration, color, font-size
//     and font-family give the character formats; background colours,
//     alignment and margins are not part of a note and are dropped
// Broken or hostile input never crashes or hangs: elements nest at most
// MaxHtmlDepth deep (deeper tags only keep their text), and the work is one
// pass over the input.

#include <QString>
#include <QStringView>

class QTextDocument;

namespace qn {

// HTML longer than this (in UTF-16 units) is not read at all.
inline constexpr qsizetype MaxHtmlInput = 16 * 1024 * 1024;
// Open elements deeper than this keep their text but no formats of their own.
inline constexpr int MaxHtmlDepth = 128;

struct HtmlReadOptions {
    // The size of text that names none, in pixels: relative sizes (em, %,
    // headings, <big>) are worked out from it.
    int basePixels = 15;
    // Reading stops as soon as the text passes this many characters
    // (paragraph ends count as one); -1: no limit.
    qsizetype maxChars = -1;
};

enum class HtmlReadResult {
    Read,      // the document holds the content
    TooLong,   // the text passed maxChars; the document holds a part of it
    TooLarge,  // the input passed MaxHtmlInput; the document is empty
};

// Replaces the document's content with the HTML's text and formats.
HtmlReadResult ReadHtmlSubset(QStringView html, QTextDocument& doc, const HtmlReadOptions& options = {});

}  // namespace qn
