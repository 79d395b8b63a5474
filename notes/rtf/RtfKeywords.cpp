#include "notes/rtf/RtfKeywords.h"

#include <QTextCharFormat>

#include <string>
#include <unordered_map>

namespace qn::rtf {
namespace {

struct Entry {
    const char* word;
    Keyword keyword;
};

constexpr int Single = QTextCharFormat::SingleUnderline;
constexpr int Dash = QTextCharFormat::DashUnderline;
constexpr int Dot = QTextCharFormat::DotLine;
constexpr int DashDot = QTextCharFormat::DashDotLine;
constexpr int DashDotDot = QTextCharFormat::DashDotDotLine;
constexpr int Wave = QTextCharFormat::WaveUnderline;

const Entry Entries[] = {
    {"ansi", {Kw::Ansi, 0}},
    {"ansicpg", {Kw::AnsiCpg, 0}},
    {"mac", {Kw::Mac, 0}},
    {"pc", {Kw::Pc, 0}},
    {"pca", {Kw::Pca, 0}},
    {"deff", {Kw::Deff, 0}},
    {"fonttbl", {Kw::FontTable, 0}},
    {"colortbl", {Kw::ColorTable, 0}},
    {"f", {Kw::Font, 0}},
    {"fcharset", {Kw::Charset, 0}},
    {"cpg", {Kw::FontCodePage, 0}},
    {"red", {Kw::Red, 0}},
    {"green", {Kw::Green, 0}},
    {"blue", {Kw::Blue, 0}},
    {"plain", {Kw::Plain, 0}},
    {"b", {Kw::Bold, 0}},
    {"i", {Kw::Italic, 0}},
    {"strike", {Kw::Strike, 0}},
    {"striked", {Kw::Strike, 0}},
    {"v", {Kw::Hidden, 0}},
    {"ul", {Kw::Underline, Single}},
    {"uldb", {Kw::Underline, Single}},
    {"ulw", {Kw::Underline, Single}},
    {"ulth", {Kw::Underline, Single}},
    {"uldash", {Kw::Underline, Dash}},
    {"ulldash", {Kw::Underline, Dash}},
    {"ulthdash", {Kw::Underline, Dash}},
    {"ulthldash", {Kw::Underline, Dash}},
    {"uld", {Kw::Underline, Dot}},
    {"ulthd", {Kw::Underline, Dot}},
    {"uldashd", {Kw::Underline, DashDot}},
    {"ulthdashd", {Kw::Underline, DashDot}},
    {"uldashdd", {Kw::Underline, DashDotDot}},
    {"ulthdashdd", {Kw::Underline, DashDotDot}},
    {"ulwave", {Kw::Underline, Wave}},
    {"ulhwave", {Kw::Underline, Wave}},
    {"ululdbwave", {Kw::Underline, Wave}},
    {"ulnone", {Kw::UnderlineNone, 0}},
    {"fs", {Kw::FontSize, 0}},
    {"cf", {Kw::Color, 0}},
    {"qnpx", {Kw::PixelSize, 0}},
    {"qnpt", {Kw::CentiPoints, 0}},
    {"qnfsi", {Kw::SizeInherited, 0}},
    {"par", {Kw::Paragraph, 0}},
    {"sect", {Kw::Paragraph, 0}},
    {"page", {Kw::Paragraph, 0}},
    {"row", {Kw::Paragraph, 0}},
    {"nestrow", {Kw::Paragraph, 0}},
    {"line", {Kw::Line, 0}},
    {"lbr", {Kw::Line, 0}},
    {"tab", {Kw::Tab, 0}},
    {"cell", {Kw::Tab, 0}},
    {"nestcell", {Kw::Tab, 0}},
    {"emdash", {Kw::Char, 0x2014}},
    {"endash", {Kw::Char, 0x2013}},
    {"emspace", {Kw::Char, 0x2003}},
    {"enspace", {Kw::Char, 0x2002}},
    {"qmspace", {Kw::Char, 0x2005}},
    {"bullet", {Kw::Char, 0x2022}},
    {"lquote", {Kw::Char, 0x2018}},
    {"rquote", {Kw::Char, 0x2019}},
    {"ldblquote", {Kw::Char, 0x201C}},
    {"rdblquote", {Kw::Char, 0x201D}},
    {"zwj", {Kw::Char, 0x200D}},
    {"zwnj", {Kw::Char, 0x200C}},
    {"zwbo", {Kw::Char, 0x200B}},
    {"zwnbo", {Kw::Char, 0x2060}},
    {"ltrmark", {Kw::Char, 0x200E}},
    {"rtlmark", {Kw::Char, 0x200F}},
    {"u", {Kw::Unicode, 0}},
    {"uc", {Kw::UnicodeSkip, 0}},
    {"upr", {Kw::Upr, 0}},
    {"ud", {Kw::Ud, 0}},
    {"bin", {Kw::Bin, 0}},
};

// Destinations whose content is not note text.
// clang-format off
const char* const Skipped[] = {
    "stylesheet", "info", "pict", "object", "objdata", "result", "header", "headerl", "headerr",
    "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "annotation", "atnid",
    "atnauthor", "atnref", "atntime", "atnicn", "atndate", "fldinst", "themedata",
    "colorschememapping", "listtable", "listoverridetable", "revtbl", "rsidtbl", "xmlnstbl",
    "latentstyles", "datastore", "generator", "pgdsctbl", "filetbl", "mmathPr", "userprops",
    "docvar", "nonshppict", "shp", "shpinst", "shprslt", "bkmkstart", "bkmkend", "txe", "xe", "tc",
    "template", "comment", "title", "subject", "author", "operator", "keywords", "doccomm",
    "company", "category", "manager", "hlinkbase", "ftnsep", "ftnsepc", "ftncn", "aftnsep",
    "aftnsepc", "aftncn", "pn", "pntxta", "pntxtb", "falt", "panose", "fname", "do",
    "background", "printim", "creatim", "revtim", "buptim", "listpicture",
    "formfield", "datafield", "fontemb", "fontfile", "private",
};
// clang-format on

const std::unordered_map<std::string_view, Keyword>& Table()
{
    static const auto table = [] {
        std::unordered_map<std::string_view, Keyword> t;
        for (const Entry& e : Entries)
            t.emplace(e.word, e.keyword);
        for (const char* word : Skipped)
            t.emplace(word, Keyword{Kw::SkipDestination, 0});
        return t;
    }();
    return table;
}

}  // namespace

const Keyword* FindKeyword(std::string_view word)
{
    // \u is by far the most frequent word in text outside GBK.
    static const Keyword unicode{Kw::Unicode, 0};
    if (word.size() == 1 && word[0] == 'u')
        return &unicode;
    const auto& table = Table();
    const auto it = table.find(word);
    return it == table.end() ? nullptr : &it->second;
}

}  // namespace qn::rtf
