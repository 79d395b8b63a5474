#include "tools/qncal/DisplayWidth.h"

#include <vector>

namespace qncal {

namespace {

struct Decoded {
    char32_t cp;
    std::size_t length;  // bytes taken from the input
};

// One code point from the front of the text; a malformed sequence yields
// U+FFFD for a single byte so that decoding always moves on.
Decoded DecodeFront(std::string_view s)
{
    const auto b0 = static_cast<unsigned char>(s[0]);
    if (b0 < 0x80)
        return {b0, 1};
    std::size_t length = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4;
        cp = b0 & 0x07;
    } else {
        return {0xFFFD, 1};
    }
    if (s.size() < length)
        return {0xFFFD, 1};
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80)
            return {0xFFFD, 1};
        cp = (cp << 6) | (b & 0x3F);
    }
    return {cp, length};
}

std::vector<std::string_view> Characters(std::string_view s)
{
    std::vector<std::string_view> chars;
    while (!s.empty()) {
        const std::size_t n = DecodeFront(s).length;
        chars.push_back(s.substr(0, n));
        s.remove_prefix(n);
    }
    return chars;
}

}  // namespace

int CodePointWidth(char32_t cp)
{
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0))
        return 0;
    if ((cp >= 0x0300 && cp <= 0x036F) || cp == 0x200B || (cp >= 0xFE00 && cp <= 0xFE0F))
        return 0;                                     // combining marks, zero-width space, variation selectors
    const bool wide = (cp >= 0x1100 && cp <= 0x115F)  // Hangul Jamo
        || (cp >= 0x2E80 && cp <= 0x303E)             // CJK radicals, punctuation
        || (cp >= 0x3041 && cp <= 0x33FF)             // kana, CJK symbols
        || (cp >= 0x3400 && cp <= 0x4DBF)             // CJK extension A
        || (cp >= 0x4E00 && cp <= 0x9FFF)             // CJK unified ideographs
        || (cp >= 0xA000 && cp <= 0xA4CF)             // Yi
        || (cp >= 0xAC00 && cp <= 0xD7A3)             // Hangul syllables
        || (cp >= 0xF900 && cp <= 0xFAFF)             // CJK compatibility ideographs
        || (cp >= 0xFE30 && cp <= 0xFE4F)             // CJK compatibility forms
        || (cp >= 0xFF00 && cp <= 0xFF60)             // fullwidth forms
        || (cp >= 0xFFE0 && cp <= 0xFFE6)             // fullwidth signs
        || (cp >= 0x1F300 && cp <= 0x1F64F)           // pictographs, emoticons
        || (cp >= 0x20000 && cp <= 0x3FFFD);          // CJK extensions B and later
    return wide ? 2 : 1;
}

int DisplayWidth(std::string_view utf8)
{
    int width = 0;
    while (!utf8.empty()) {
        const Decoded d = DecodeFront(utf8);
        width += CodePointWidth(d.cp);
        utf8.remove_prefix(d.length);
    }
    return width;
}

int TerminalWidth(std::string_view text)
{
    int width = 0;
    while (!text.empty()) {
        if (text.size() > 1 && text[0] == '\x1b' && text[1] == '[') {
            const auto end = text.find('m', 2);
            if (end != std::string_view::npos) {
                text.remove_prefix(end + 1);
                continue;
            }
        }
        const Decoded d = DecodeFront(text);
        width += CodePointWidth(d.cp);
        text.remove_prefix(d.length);
    }
    return width;
}

std::string FitToWidth(std::string_view utf8, int width)
{
    if (DisplayWidth(utf8) <= width)
        return std::string(utf8);
    std::vector<std::string_view> chars = Characters(utf8);
    if (!chars.empty() && (chars.back() == "月" || chars.back() == "节"))
        chars.pop_back();
    std::string fitted;
    int used = 0;
    for (std::string_view c : chars) {
        const int w = DisplayWidth(c);
        if (used + w > width)
            break;
        fitted += c;
        used += w;
    }
    return fitted;
}

std::string Centered(std::string_view utf8, int width)
{
    const std::string fitted = FitToWidth(utf8, width);
    const int spare = width - DisplayWidth(fitted);
    const int left = spare / 2;
    return std::string(static_cast<std::size_t>(left), ' ') + fitted
        + std::string(static_cast<std::size_t>(spare - left), ' ');
}

}  // namespace qncal
