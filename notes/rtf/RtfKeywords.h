#pragma once
// The control words the reader acts on. Everything else is ignored, and
// ignorable destinations ({\*\word ...}) that are not listed are skipped.

#include <string_view>

namespace qn::rtf {

enum class Kw {
    Ansi,
    AnsiCpg,
    Mac,
    Pc,
    Pca,
    Deff,
    FontTable,
    ColorTable,
    SkipDestination,
    Font,
    Charset,
    FontCodePage,
    Red,
    Green,
    Blue,
    Plain,
    Bold,
    Italic,
    Strike,
    Hidden,
    Underline,
    UnderlineNone,
    FontSize,
    Color,
    PixelSize,
    CentiPoints,
    SizeInherited,
    Paragraph,
    Line,
    Tab,
    Char,  // Char: the value is the character
    Unicode,
    UnicodeSkip,
    Upr,
    Ud,
    Bin,
};

struct Keyword {
    Kw kw;
    int value;  // Char: character; Underline: QTextCharFormat::UnderlineStyle
};

// nullptr for a word the reader does not know.
const Keyword* FindKeyword(std::string_view word);

}  // namespace qn::rtf
