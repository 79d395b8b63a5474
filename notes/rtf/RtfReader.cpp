// ReadRtf: RTF bytes into a note box's document.
//
// A single pass over the bytes with a stack of group states. Text is
// collected into runs that share one character format and is inserted when
// the format changes, so a note of a few kilobytes costs a few dozen
// insertions. Whatever the input, every byte is looked at a bounded number
// of times, groups nest at most MaxDepth deep and numbers saturate.

#include "notes/rtf/RtfCodePages.h"
#include "notes/rtf/RtfFormat.h"
#include "notes/rtf/RtfKeywords.h"
#include "notes/rtf/RtfStream.h"

#include <QColor>
#include <QHash>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <climits>
#include <string_view>
#include <vector>

namespace qn::rtf {
namespace {

constexpr int MaxDepth = 256;
constexpr int MaxFallbackSkip = 255;

enum class Dest : uint8_t { Body, FontTable, ColorTable, Skip };

struct CharProps {
    int font = -1;  // \f number; -1: the text takes the box's family
    int halfPoints = 0;
    int pixels = 0;
    int centiPoints = 0;
    int color = -1;  // \cf index; -1: none given
    int underline = QTextCharFormat::NoUnderline;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    bool operator==(const CharProps&) const = default;
};

struct Group {
    CharProps chars;
    Dest dest = Dest::Body;
    Dest beforeUpr = Dest::Body;
    int fallbackSkip = 1;  // \ucN
};

struct FontDef {
    QString name;
    int charset = -1;
    int codePage = 0;  // \cpgN, 0 when not given
};

struct ColorDef {
    int red = 0, green = 0, blue = 0;
    bool set = false;  // an entry without components is "automatic"
};

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr auto HexDigits = [] {
    std::array<int8_t, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[c] = c >= '0' && c <= '9' ? int8_t(c - '0')
            : c >= 'a' && c <= 'f'  ? int8_t(c - 'a' + 10)
            : c >= 'A' && c <= 'F'  ? int8_t(c - 'A' + 10)
                                    : int8_t(-1);
    return t;
}();
int HexValue(char c) { return HexDigits[uint8_t(c)]; }

// Lone surrogate halves and frame markers would corrupt the document.
void CleanText(QString& text)
{
    char16_t* d = reinterpret_cast<char16_t*>(text.data());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i];
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(d[i + 1])) {
            ++i;
        } else if (QChar::isSurrogate(c) || c == 0xFDD0 || c == 0xFDD1) {
            d[i] = 0xFFFD;
        } else if (c == 0x000B) {
            d[i] = QChar::LineSeparator;  // rich edit's own soft line break
        }
    }
    text.remove(QChar(0));
}

class Reader {
public:
    Reader(QTextDocument& doc, const char* data, qsizetype size) : p_(data), end_(data + size), cursor_(&doc)
    {
        Group outside;
        outside.dest = Dest::Skip;  // nothing before the first brace is text
        stack_.push_back(outside);
    }

    void Run()
    {
        cursor_.beginEditBlock();
        while (p_ < end_ && !done_) {
            switch (*p_) {
            case '{':
                ++p_;
                OpenGroup();
                break;
            case '}':
                ++p_;
                CloseGroup();
                break;
            case '\\':
                ++p_;
                Control();
                break;
            case '\r':
            case '\n': ++p_; break;
            default: PlainText(); break;
            }
        }
        FinishFont();
        // The last paragraph mark ends the last paragraph; it opens none.
        pendingParagraphs_ = std::max(0, pendingParagraphs_ - 1);
        AppendParagraphs();
        FlushRun();
        cursor_.endEditBlock();
    }

private:
    Group& Top() { return stack_.back(); }

    void OpenGroup()
    {
        fallback_ = 0;
        star_ = false;
        if (int(stack_.size()) > MaxDepth)
            ++overflow_;
        else if (stack_.size() == 1)
            stack_.push_back(Group{});  // the document's own group
        else
            stack_.push_back(Top());
    }

    void CloseGroup()
    {
        fallback_ = 0;
        star_ = false;
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (Top().dest == Dest::FontTable)
            FinishFont();
        stack_.pop_back();
        if (stack_.size() == 1)
            done_ = true;  // the document's own group has closed
    }

    // A run of ordinary bytes, or one control byte.
    void PlainText()
    {
        const char* start = p_;
        while (p_ < end_ && uint8_t(*p_) >= 0x20 && *p_ != '{' && *p_ != '}' && *p_ != '\\')
            ++p_;
        if (p_ == start) {
            const char c = *p_++;
            if (c == '\t' && !SkipFallback())
                Char(u'\t');
            return;  // other control bytes are noise
        }
        const qsizetype skipped = std::min<qsizetype>(fallback_, p_ - start);
        fallback_ -= int(skipped);
        start += skipped;
        if (start < p_)
            Bytes(start, p_ - start);
    }

    // True when the token just read is one of the fallback characters of a
    // preceding \uN and is to be dropped.
    bool SkipFallback()
    {
        if (fallback_ == 0)
            return false;
        --fallback_;
        return true;
    }

    void Control()
    {
        if (p_ >= end_)
            return;
        if (IsAlpha(*p_)) {
            ControlWord();
            return;
        }
        const char c = *p_++;
        if (c == '*') {
            star_ = true;
            return;
        }
        star_ = false;
        if (c == '\'') {
            HexBytes();
            return;
        }
        if (SkipFallback())
            return;
        switch (c) {
        case '\\':
        case '{':
        case '}': Bytes(&c, 1); break;
        case '~': Char(0x00A0); break;
        case '-': Char(0x00AD); break;
        case '_': Char(0x2011); break;
        case '\t': Char(u'\t'); break;
        case '\r':
        case '\n': Paragraph(); break;
        default: break;  // \| \: and the like carry no text
        }
    }

    // \'hh, and the escapes that directly follow it: Chinese text is long
    // runs of them. Called with p_ just past the quote.
    void HexBytes()
    {
        char buffer[512];
        int count = 0;
        const int hi = p_ < end_ ? HexValue(p_[0]) : -1;
        const int lo = hi >= 0 && p_ + 1 < end_ ? HexValue(p_[1]) : -1;
        if (lo < 0) {  // a truncated escape: drop what there is of it
            p_ += hi >= 0 ? 1 : 0;
            SkipFallback();
            return;
        }
        p_ += 2;
        if (!SkipFallback())
            buffer[count++] = char(hi << 4 | lo);
        while (count < int(sizeof buffer) && end_ - p_ >= 4 && p_[0] == '\\' && p_[1] == '\'') {
            const int h = HexValue(p_[2]), l = HexValue(p_[3]);
            if ((h | l) < 0)
                break;
            p_ += 4;
            if (fallback_ == 0 || !SkipFallback())
                buffer[count++] = char(h << 4 | l);
        }
        if (count == 0)
            return;
        if (Top().dest == Dest::FontTable) {
            if (fontOpen_)
                fontBytes_.append(buffer, count);  // an escaped ';' belongs to the name
        } else {
            Bytes(buffer, count);
        }
    }

    void ControlWord()
    {
        const char* start = p_;
        while (p_ < end_ && IsAlpha(*p_))
            ++p_;
        const std::string_view word(start, size_t(p_ - start));
        bool negative = false, hasParam = false;
        long long value = 0;
        if (p_ + 1 < end_ && *p_ == '-' && IsDigit(p_[1])) {
            negative = true;
            ++p_;
        }
        while (p_ < end_ && IsDigit(*p_)) {
            hasParam = true;
            if (value < INT_MAX)
                value = value * 10 + (*p_ - '0');
            ++p_;
        }
        if (p_ < end_ && *p_ == ' ')
            ++p_;
        value = std::min<long long>(value, INT_MAX);
        const int param = int(negative ? -value : value);

        const bool star = std::exchange(star_, false);
        const Keyword* keyword = FindKeyword(word);
        if (keyword && keyword->kw == Kw::Bin) {
            // Binary data is skipped whatever the destination.
            const qsizetype length = hasParam && param > 0 ? param : 0;
            p_ += std::min<qsizetype>(length, end_ - p_);
            SkipFallback();
            return;
        }
        if (SkipFallback())
            return;
        if (!keyword) {
            if (star)
                Top().dest = Dest::Skip;
            return;
        }
        Apply(*keyword, hasParam, param);
    }

    static int Clamp(int v, int lo, int hi) { return std::clamp(v, lo, hi); }

    void Apply(const Keyword& k, bool hasParam, int param)
    {
        Group& g = Top();
        CharProps& c = g.chars;
        const bool on = !hasParam || param != 0;
        switch (k.kw) {
        case Kw::Ansi: SetDocumentCodePage(WesternCodePage); break;  // \ansicpg may follow
        case Kw::AnsiCpg:
            if (param > 0)
                SetDocumentCodePage(param);
            break;
        case Kw::Mac: SetDocumentCodePage(10000); break;
        case Kw::Pc: SetDocumentCodePage(437); break;
        case Kw::Pca: SetDocumentCodePage(850); break;
        case Kw::Deff:
            defaultFont_ = param;
            formatValid_ = false;
            break;
        case Kw::FontTable:
            if (g.dest != Dest::Skip)
                g.dest = Dest::FontTable;
            break;
        case Kw::ColorTable:
            if (g.dest != Dest::Skip) {
                g.dest = Dest::ColorTable;
                colorEntry_ = {};
            }
            break;
        case Kw::SkipDestination: g.dest = Dest::Skip; break;
        case Kw::Font:
            if (g.dest == Dest::FontTable) {
                FinishFont();
                fontOpen_ = true;
                fontNumber_ = param;
            } else if (hasParam && param >= 0) {
                c.font = param;
            }
            break;
        case Kw::Charset:
            if (g.dest == Dest::FontTable)
                font_.charset = param;
            break;
        case Kw::FontCodePage:
            if (g.dest == Dest::FontTable)
                font_.codePage = std::max(param, 0);
            break;
        case Kw::Red:
        case Kw::Green:
        case Kw::Blue:
            if (g.dest == Dest::ColorTable) {
                const int v = Clamp(param, 0, 255);
                (k.kw == Kw::Red ? colorEntry_.red : k.kw == Kw::Green ? colorEntry_.green : colorEntry_.blue) = v;
                colorEntry_.set = true;
            }
            break;
        case Kw::Plain: c = CharProps{}; break;
        case Kw::Bold: c.bold = on; break;
        case Kw::Italic: c.italic = on; break;
        case Kw::Strike: c.strike = on; break;
        case Kw::Hidden: c.hidden = on; break;
        case Kw::Underline: c.underline = on ? k.value : int(QTextCharFormat::NoUnderline); break;
        case Kw::UnderlineNone: c.underline = QTextCharFormat::NoUnderline; break;
        case Kw::FontSize:
            if (!hasParam || param > 0) {
                c.halfPoints = hasParam ? Clamp(param, 2, MaxHalfPoints) : 24;
                c.pixels = c.centiPoints = 0;
            }
            break;
        case Kw::PixelSize:
            if (param > 0)
                c.pixels = std::min(param, MaxPixels);
            break;
        case Kw::CentiPoints:
            if (param > 0)
                c.centiPoints = std::min(param, MaxCentiPoints);
            break;
        case Kw::SizeInherited: c.halfPoints = c.pixels = c.centiPoints = 0; break;
        case Kw::Color: c.color = std::max(param, 0); break;
        case Kw::Paragraph: Paragraph(); break;
        case Kw::Line: Char(QChar::LineSeparator); break;
        case Kw::Tab: Char(u'\t'); break;
        case Kw::Char: Char(char16_t(k.value)); break;
        case Kw::Unicode:
            if (hasParam) {
                const int v = param < 0 ? param + 0x10000 : param;
                Char(v >= 0 && v <= 0xFFFF ? char16_t(v) : char16_t(0xFFFD));
                fallback_ = g.fallbackSkip;
            }
            break;
        case Kw::UnicodeSkip: g.fallbackSkip = Clamp(param, 0, MaxFallbackSkip); break;
        case Kw::Upr:
            // {\upr{ANSI text}{\*\ud{Unicode text}}}: keep only the Unicode form.
            g.beforeUpr = g.dest;
            g.dest = Dest::Skip;
            break;
        case Kw::Ud: g.dest = g.beforeUpr; break;
        case Kw::Bin: break;
        }
    }

    void SetDocumentCodePage(int codePage)
    {
        documentCodePage_ = codePage;
        formatValid_ = false;
    }

    // --- text of the current destination ---

    void Bytes(const char* s, qsizetype n)
    {
        switch (Top().dest) {
        case Dest::Body:
            if (Top().chars.hidden)
                return;
            SyncRun();
            bytes_.append(s, n);
            break;
        case Dest::FontTable:
            for (qsizetype i = 0; i < n; ++i) {
                if (s[i] == ';')
                    FinishFont();
                else if (fontOpen_)
                    fontBytes_ += s[i];
            }
            break;
        case Dest::ColorTable:
            for (qsizetype i = 0; i < n; ++i)
                if (s[i] == ';') {
                    colors_.push_back(colorEntry_);
                    colorEntry_ = {};
                }
            formatValid_ = false;
            break;
        case Dest::Skip: break;
        }
    }

    void Char(char16_t ch)
    {
        if (ch == 0)
            return;
        if (Top().dest == Dest::Body) {
            if (Top().chars.hidden)
                return;
            SyncRun();
            DecodeRunBytes();
            text_ += QChar(ch);
        } else if (Top().dest == Dest::FontTable && fontOpen_) {
            DecodeFontBytes();
            fontName_ += QChar(ch);
        }
    }

    // A paragraph mark is held back until more text follows, so that the
    // mark that ends the document opens no empty paragraph.
    // The paragraph mark takes the formatting in effect where it stands, as
    // it does in a rich-edit box: typing into an empty line continues in it.
    void Paragraph()
    {
        if (Top().dest != Dest::Body || Top().chars.hidden)
            return;
        AppendParagraphs();
        SwitchRun();
        ++pendingParagraphs_;
    }

    void SyncRun()
    {
        AppendParagraphs();
        SwitchRun();
    }

    void SwitchRun()
    {
        if (!(runProps_ == Top().chars)) {
            FlushRun();
            runProps_ = Top().chars;
        }
    }

    // Paragraphs go into the run's text as '\n', which QTextCursor turns
    // into blocks: far cheaper than a call per block.
    void AppendParagraphs()
    {
        if (pendingParagraphs_ == 0)
            return;
        DecodeRunBytes();
        text_.append(QString(pendingParagraphs_, u'\n'));
        pendingParagraphs_ = 0;
    }

    void DecodeRunBytes()
    {
        if (bytes_.isEmpty())
            return;
        UpdateFormat();
        DecodeBytes(runCodePage_, bytes_.constData(), bytes_.size(), text_);
        bytes_.clear();
    }

    void FlushRun()
    {
        DecodeRunBytes();
        if (text_.isEmpty())
            return;
        UpdateFormat();
        CleanText(text_);
        cursor_.insertText(text_, format_);
        text_.clear();
    }

    // --- formats ---

    const FontDef* FindFont(int number) const
    {
        const auto it = fonts_.constFind(number);
        return it == fonts_.constEnd() ? nullptr : &it.value();
    }

    // Notes switch between a handful of formats, so the last few built are
    // kept; tables or the code page changing clears them.
    void UpdateFormat()
    {
        if (!formatValid_) {
            formatCache_.clear();
            formatValid_ = true;
        }
        for (const CachedFormat& c : formatCache_)
            if (c.props == runProps_) {
                format_ = c.format;
                runCodePage_ = c.codePage;
                return;
            }
        BuildFormat();
        if (formatCache_.size() >= MaxCachedFormats)
            formatCache_.erase(formatCache_.begin());
        formatCache_.push_back({runProps_, format_, runCodePage_});
    }

    void BuildFormat()
    {
        const CharProps& p = runProps_;
        QTextCharFormat f;
        const FontDef* font = FindFont(p.font >= 0 ? p.font : defaultFont_);
        runCodePage_ = !font     ? documentCodePage_
            : font->codePage > 0 ? font->codePage
                                 : CodePageOfCharset(font->charset, documentCodePage_);
        if (p.font >= 0 && font && !font->name.isEmpty()) {
            f.setFontFamilies(QStringList{font->name});
            if (font->charset >= 0 && font->charset != DefaultCharsetOfFamily(font->name))
                f.setProperty(RtfCharsetProperty, font->charset);
        }
        if (p.pixels > 0)
            f.setProperty(QTextFormat::FontPixelSize, p.pixels);
        else if (p.centiPoints > 0)
            f.setFontPointSize(p.centiPoints / 100.0);
        else if (p.halfPoints > 0)
            f.setFontPointSize(p.halfPoints / 2.0);
        if (p.bold)
            f.setFontWeight(QFont::Bold);
        if (p.italic)
            f.setFontItalic(true);
        if (p.underline != QTextCharFormat::NoUnderline)
            f.setUnderlineStyle(QTextCharFormat::UnderlineStyle(p.underline));
        if (p.strike)
            f.setFontStrikeOut(true);
        if (p.color >= 0 && size_t(p.color) < colors_.size()) {
            const ColorDef& c = colors_[size_t(p.color)];
            // Entry 0 of the table is usually the automatic colour: any
            // entry without components is.
            if (c.set)
                f.setForeground(QColor(c.red, c.green, c.blue));
        }
        format_ = f;
    }

    // --- font table ---

    void DecodeFontBytes()
    {
        if (fontBytes_.isEmpty())
            return;
        const int codePage = font_.codePage > 0 ? font_.codePage : CodePageOfCharset(font_.charset, documentCodePage_);
        DecodeBytes(codePage, fontBytes_.constData(), fontBytes_.size(), fontName_);
        fontBytes_.clear();
    }

    void FinishFont()
    {
        if (!fontOpen_)
            return;
        DecodeFontBytes();
        CleanText(fontName_);
        font_.name = fontName_.trimmed();
        fonts_.insert(fontNumber_, font_);
        fontOpen_ = false;
        font_ = {};
        fontName_.clear();
        formatValid_ = false;
    }

    const char* p_;
    const char* end_;
    std::vector<Group> stack_;
    int overflow_ = 0;
    bool done_ = false;
    bool star_ = false;
    int fallback_ = 0;

    int documentCodePage_ = GbkCodePage;  // notes are written on code page 936
    int defaultFont_ = 0;
    QHash<int, FontDef> fonts_;
    bool fontOpen_ = false;
    int fontNumber_ = 0;
    FontDef font_;
    QByteArray fontBytes_;
    QString fontName_;
    std::vector<ColorDef> colors_;
    ColorDef colorEntry_;

    QTextCursor cursor_;
    CharProps runProps_;
    QByteArray bytes_;
    QString text_;
    int pendingParagraphs_ = 0;
    struct CachedFormat {
        CharProps props;
        QTextCharFormat format;
        int codePage;
    };
    static constexpr size_t MaxCachedFormats = 16;
    std::vector<CachedFormat> formatCache_;
    bool formatValid_ = false;
    QTextCharFormat format_;
    int runCodePage_ = GbkCodePage;
};

bool LooksLikeRtf(const QByteArray& bytes)
{
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return QByteArrayView(bytes).sliced(i).startsWith("{\\rtf");
}

QString DecodePlainText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    QStringDecoder gb18030("GB18030");
    if (gb18030.isValid())
        return gb18030.decode(bytes);
    QString text;
    DecodeBytes(WesternCodePage, bytes.constData(), bytes.size(), text);
    return text;
}

}  // namespace
}  // namespace qn::rtf

bool ReadRtf(const QByteArray& bytes, QTextDocument& doc)
{
    // Loading a note is not an edit the user could undo: an undo after
    // switching weeks would bring back the old week's text.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    const bool rtf = qn::rtf::LooksLikeRtf(bytes);
    if (rtf) {
        qn::rtf::Reader reader(doc, bytes.constData(), bytes.size());
        reader.Run();
    } else if (!bytes.isEmpty()) {
        QString text = qn::rtf::DecodePlainText(bytes);
        qn::rtf::CleanText(text);
        QTextCursor(&doc).insertText(text);
    }
    doc.setUndoRedoEnabled(undo);
    doc.setModified(false);
    return rtf || bytes.isEmpty();
}
