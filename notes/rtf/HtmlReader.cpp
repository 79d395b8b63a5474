// ReadHtmlSubset: one pass over the HTML, a stack of open elements with the
// character format each one gives its text, and a writer that collapses
// white space and paragraph ends the way a browser shows them.

#include "notes/rtf/HtmlReader.h"

#include "notes/rtf/RtfFormat.h"

#include <QColor>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace qn {
namespace {

// What an element does besides giving a format.
enum class Kind : uint8_t {
    Inline,
    Block,    // ends the paragraph before and after it
    Void,     // has no content and no end tag (img, meta, ...): dropped
    Break,    // <br>
    Rule,     // <hr>: a paragraph end, no content
    Row,      // <tr>
    Cell,     // <td>, <th>
    Hidden,   // its content is not shown (head, object, svg, select, ...)
    RawDrop,  // its content is not HTML and not shown (script, style, title)
    RawText,  // its content is not HTML but shown as it is (textarea, xmp)
};

enum class Effect : uint8_t { None, Bold, Italic, Underline, Strike, Heading, Big, Small, Pre, ListItem, Font };

struct TagInfo {
    const char* name;
    Kind kind;
    Effect effect = Effect::None;
    uint8_t level = 0;  // heading level
};

constexpr TagInfo kTags[] = {
    {"a", Kind::Inline},
    {"address", Kind::Block, Effect::Italic},
    {"area", Kind::Void},
    {"article", Kind::Block},
    {"aside", Kind::Block},
    {"audio", Kind::Hidden},
    {"b", Kind::Inline, Effect::Bold},
    {"base", Kind::Void},
    {"basefont", Kind::Void},
    {"big", Kind::Inline, Effect::Big},
    {"blockquote", Kind::Block},
    {"body", Kind::Inline},
    {"br", Kind::Break},
    {"canvas", Kind::Hidden},
    {"caption", Kind::Block},
    {"center", Kind::Block},
    {"cite", Kind::Inline, Effect::Italic},
    {"col", Kind::Void},
    {"datalist", Kind::Hidden},
    {"dd", Kind::Block},
    {"del", Kind::Inline, Effect::Strike},
    {"details", Kind::Block},
    {"dfn", Kind::Inline, Effect::Italic},
    {"dialog", Kind::Hidden},
    {"dir", Kind::Block},
    {"div", Kind::Block},
    {"dl", Kind::Block},
    {"dt", Kind::Block},
    {"em", Kind::Inline, Effect::Italic},
    {"embed", Kind::Void},
    {"fieldset", Kind::Block},
    {"figcaption", Kind::Block},
    {"figure", Kind::Block},
    {"font", Kind::Inline, Effect::Font},
    {"footer", Kind::Block},
    {"form", Kind::Block},
    {"frame", Kind::Void},
    {"frameset", Kind::Hidden},
    {"h1", Kind::Block, Effect::Heading, 1},
    {"h2", Kind::Block, Effect::Heading, 2},
    {"h3", Kind::Block, Effect::Heading, 3},
    {"h4", Kind::Block, Effect::Heading, 4},
    {"h5", Kind::Block, Effect::Heading, 5},
    {"h6", Kind::Block, Effect::Heading, 6},
    {"head", Kind::Hidden},
    {"header", Kind::Block},
    {"hgroup", Kind::Block},
    {"hr", Kind::Rule},
    {"i", Kind::Inline, Effect::Italic},
    {"iframe", Kind::RawDrop},
    {"img", Kind::Void},
    {"input", Kind::Void},
    {"ins", Kind::Inline, Effect::Underline},
    {"keygen", Kind::Void},
    {"legend", Kind::Block},
    {"li", Kind::Block, Effect::ListItem},
    {"link", Kind::Void},
    {"listing", Kind::Block, Effect::Pre},
    {"main", Kind::Block},
    {"map", Kind::Hidden},
    {"math", Kind::Hidden},
    {"menu", Kind::Block},
    {"meta", Kind::Void},
    {"nav", Kind::Block},
    {"noembed", Kind::RawDrop},
    {"noframes", Kind::RawDrop},
    {"object", Kind::Hidden},
    {"ol", Kind::Block},
    {"p", Kind::Block},
    {"param", Kind::Void},
    {"picture", Kind::Hidden},
    {"pre", Kind::Block, Effect::Pre},
    {"s", Kind::Inline, Effect::Strike},
    {"script", Kind::RawDrop},
    {"section", Kind::Block},
    {"select", Kind::Hidden},
    {"small", Kind::Inline, Effect::Small},
    {"source", Kind::Void},
    {"strike", Kind::Inline, Effect::Strike},
    {"strong", Kind::Inline, Effect::Bold},
    {"style", Kind::RawDrop},
    {"summary", Kind::Block},
    {"svg", Kind::Hidden},
    {"table", Kind::Block},
    {"td", Kind::Cell},
    {"template", Kind::Hidden},
    {"textarea", Kind::RawText},
    {"th", Kind::Cell, Effect::Bold},
    {"title", Kind::RawDrop},
    {"tr", Kind::Row},
    {"track", Kind::Void},
    {"u", Kind::Inline, Effect::Underline},
    {"ul", Kind::Block},
    {"var", Kind::Inline, Effect::Italic},
    {"video", Kind::Hidden},
    {"wbr", Kind::Void},
    {"xmp", Kind::RawText},
};

constexpr TagInfo kUnknownTag = {"", Kind::Inline};

const TagInfo& InfoOf(QStringView lowerName)
{
    const auto it = std::lower_bound(std::begin(kTags), std::end(kTags), lowerName,
                                     [](const TagInfo& t, QStringView n) { return QLatin1String(t.name) < n; });
    if (it != std::end(kTags) && QLatin1String(it->name) == lowerName)
        return *it;
    return kUnknownTag;
}

struct Entity {
    const char* name;
    char16_t value;
};

// The named character references that pasted pages really use.
constexpr Entity kEntities[] = {
    {"amp", u'&'},     {"apos", u'\''},    {"bull", 0x2022},   {"cent", 0x00A2},   {"copy", 0x00A9},
    {"deg", 0x00B0},   {"divide", 0x00F7}, {"emsp", 0x2003},   {"ensp", 0x2002},   {"euro", 0x20AC},
    {"gt", u'>'},      {"hellip", 0x2026}, {"laquo", 0x00AB},  {"ldquo", 0x201C},  {"lsaquo", 0x2039},
    {"lsquo", 0x2018}, {"lt", u'<'},       {"mdash", 0x2014},  {"middot", 0x00B7}, {"nbsp", 0x00A0},
    {"ndash", 0x2013}, {"para", 0x00B6},   {"plusmn", 0x00B1}, {"pound", 0x00A3},  {"quot", u'"'},
    {"raquo", 0x00BB}, {"rdquo", 0x201D},  {"reg", 0x00AE},    {"rsaquo", 0x203A}, {"rsquo", 0x2019},
    {"sect", 0x00A7},  {"shy", 0x00AD},    {"thinsp", 0x2009}, {"times", 0x00D7},  {"trade", 0x2122},
    {"yen", 0x00A5},   {"zwj", 0x200D},    {"zwnj", 0x200C},
};

// Windows-1252 meanings of the references &#128; to &#159;, as browsers read them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

bool IsAsciiAlpha(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool IsHtmlSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }

void AppendCodePoint(QString& out, char32_t cp)
{
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    else if (cp >= 0x80 && cp < 0xA0)
        cp = kWindows1252High[cp - 0x80];
    if (cp >= 0x10000) {
        out += QChar(QChar::highSurrogate(cp));
        out += QChar(QChar::lowSurrogate(cp));
    } else {
        out += QChar(char16_t(cp));
    }
}

// Decodes the character references of a text or attribute value.
QString Decode(QStringView raw)
{
    QString out;
    out.reserve(raw.size());
    const qsizetype n = raw.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = raw[i];
        if (c != u'&') {
            out += c;
            continue;
        }
        qsizetype j = i + 1;
        if (j < n && raw[j] == u'#') {
            ++j;
            const bool hex = j < n && (raw[j] == u'x' || raw[j] == u'X');
            if (hex)
                ++j;
            const qsizetype digitsStart = j;
            char32_t value = 0;
            while (j < n) {
                const QChar d = raw[j];
                int digit = -1;
                if (IsAsciiDigit(d))
                    digit = d.unicode() - u'0';
                else if (hex && d >= u'a' && d <= u'f')
                    digit = d.unicode() - u'a' + 10;
                else if (hex && d >= u'A' && d <= u'F')
                    digit = d.unicode() - u'A' + 10;
                if (digit < 0)
                    break;
                value = std::min<char32_t>(value * (hex ? 16 : 10) + char32_t(digit), 0x110000);
                ++j;
            }
            if (j == digitsStart) {
                out += c;  // "&#" without digits is text
                continue;
            }
            AppendCodePoint(out, value);
            i = (j < n && raw[j] == u';') ? j : j - 1;
            continue;
        }
        while (j < n && j - i <= 8 && (IsAsciiAlpha(raw[j]) || IsAsciiDigit(raw[j])))
            ++j;
        const QStringView name = raw.sliced(i + 1, j - i - 1);
        const bool closed = j < n && raw[j] == u';';
        const Entity* found = nullptr;
        for (const Entity& e : kEntities)
            if (QLatin1String(e.name) == name)
                found = &e;
        // Without the semicolon only the oldest names count, as in browsers.
        if (found
            && (closed || name == u"amp" || name == u"lt" || name == u"gt" || name == u"quot" || name == u"nbsp")) {
            out += QChar(found->value);
            i = closed ? j : j - 1;
        } else {
            out += c;
        }
    }
    return out;
}

struct Attributes {
    QStringView style, color, face, size;
    bool hidden = false;
};

class HtmlReader {
public:
    HtmlReader(QStringView html, QTextDocument& doc, const HtmlReadOptions& options)
        : p_(html.data()), end_(html.data() + html.size()), cursor_(&doc), options_(options),
          basePixels_(options.basePixels > 0 ? options.basePixels : 15)
    {
    }

    HtmlReadResult Run()
    {
        cursor_.beginEditBlock();
        while (p_ < end_ && !tooLong_) {
            if (*p_ == u'<' && Tag())
                continue;
            const QChar* start = p_;
            ++p_;  // a '<' that opens no tag is text
            while (p_ < end_ && *p_ != u'<')
                ++p_;
            Text(Decode(QStringView(start, p_)));
        }
        Flush();
        cursor_.endEditBlock();
        return tooLong_ ? HtmlReadResult::TooLong : HtmlReadResult::Read;
    }

private:
    struct Open {
        QString name;
        Kind kind;
        Effect effect;
        bool hides;
        QTextCharFormat format;
        double pixels;
    };

    // --- tags ---------------------------------------------------------------------

    // At a '<': reads a tag, comment or declaration; false when the '<' is text.
    bool Tag()
    {
        const QChar* q = p_ + 1;
        if (q >= end_)
            return false;
        if (*q == u'!') {
            if (end_ - q >= 3 && q[1] == u'-' && q[2] == u'-') {
                const QStringView rest(q + 3, end_);
                const qsizetype close = rest.indexOf(u"-->");
                p_ = close < 0 ? end_ : q + 3 + close + 3;
            } else {
                SkipPast(q, u'>');  // <!DOCTYPE>, <![if ...]>, <![CDATA[...]]> as browsers skip them
            }
            return true;
        }
        if (*q == u'?') {
            SkipPast(q, u'>');
            return true;
        }
        const bool closing = *q == u'/';
        if (closing)
            ++q;
        if (q >= end_ || !IsAsciiAlpha(*q)) {
            if (closing && q < end_ && *q != u'>') {
                SkipPast(q, u'>');  // "</ foo>" and the like: a bogus comment
                return true;
            }
            if (closing && q < end_) {
                p_ = q + 1;  // "</>" is nothing
                return true;
            }
            return false;
        }
        const QChar* nameStart = q;
        while (q < end_ && !IsHtmlSpace(*q) && *q != u'/' && *q != u'>')
            ++q;
        const QString name = QStringView(nameStart, q).toString().toLower();
        Attributes attributes;
        bool selfClosing = false;
        q = ReadAttributes(q, attributes, selfClosing);
        p_ = q;
        if (closing)
            EndTag(name);
        else
            StartTag(name, attributes, selfClosing);
        return true;
    }

    void SkipPast(const QChar* from, char16_t c)
    {
        while (from < end_ && *from != c)
            ++from;
        p_ = from < end_ ? from + 1 : end_;
    }

    // Reads the attributes up to and past the tag's '>'; keeps the few a note
    // needs (views into the input: a huge attribute is never copied).
    const QChar* ReadAttributes(const QChar* q, Attributes& a, bool& selfClosing)
    {
        while (q < end_) {
            while (q < end_ && IsHtmlSpace(*q))
                ++q;
            if (q >= end_)
                break;
            if (*q == u'>')
                return q + 1;
            if (*q == u'/') {
                ++q;
                if (q < end_ && *q == u'>') {
                    selfClosing = true;
                    return q + 1;
                }
                continue;
            }
            const QChar* nameStart = q;
            ++q;  // a name may start with '=' or a quote
            while (q < end_ && !IsHtmlSpace(*q) && *q != u'/' && *q != u'>' && *q != u'=')
                ++q;
            const QStringView attrName(nameStart, q);
            while (q < end_ && IsHtmlSpace(*q))
                ++q;
            QStringView value;
            if (q < end_ && *q == u'=') {
                ++q;
                while (q < end_ && IsHtmlSpace(*q))
                    ++q;
                if (q < end_ && (*q == u'"' || *q == u'\'')) {
                    const QChar quote = *q++;
                    const QChar* valueStart = q;
                    while (q < end_ && *q != quote)
                        ++q;
                    value = QStringView(valueStart, q);
                    if (q < end_)
                        ++q;
                } else {
                    const QChar* valueStart = q;
                    while (q < end_ && !IsHtmlSpace(*q) && *q != u'>')
                        ++q;
                    value = QStringView(valueStart, q);
                }
            }
            if (attrName.compare(u"style", Qt::CaseInsensitive) == 0)
                a.style = value;
            else if (attrName.compare(u"color", Qt::CaseInsensitive) == 0)
                a.color = value;
            else if (attrName.compare(u"face", Qt::CaseInsensitive) == 0)
                a.face = value;
            else if (attrName.compare(u"size", Qt::CaseInsensitive) == 0)
                a.size = value;
            else if (attrName.compare(u"hidden", Qt::CaseInsensitive) == 0)
                a.hidden = true;
        }
        return end_;
    }

    void StartTag(const QString& name, const Attributes& attributes, bool selfClosing)
    {
        const TagInfo& info = InfoOf(name);
        switch (info.kind) {
        case Kind::Void: return;
        case Kind::Break:
            if (hidden_ > 0)
                return;
            if (cells_ > 0)
                Space();
            else
                HardBreak();
            return;
        case Kind::Rule:
            if (hidden_ == 0)
                Boundary();
            return;
        case Kind::RawDrop:
        case Kind::RawText: RawContent(name, info.kind == Kind::RawText); return;
        default: break;
        }
        if (selfClosing && info.kind == Kind::Inline)
            return;  // <span/>: opened and closed, nothing in it
        if (overflow_ > 0 || int(stack_.size()) >= MaxHtmlDepth) {
            // Too deep: the text inside still shows, in the format around it.
            if (!selfClosing)
                ++overflow_;
            return;
        }
        ImpliedEnds(info);
        Open open;
        open.name = name;
        open.kind = info.kind;
        open.effect = info.effect;
        open.format = stack_.empty() ? QTextCharFormat() : stack_.back().format;
        open.pixels = stack_.empty() ? basePixels_ : stack_.back().pixels;
        open.hides = info.kind == Kind::Hidden || attributes.hidden;
        ApplyEffect(info, open);
        if (info.effect == Effect::Font)
            ApplyFontAttributes(attributes, open);
        if (!attributes.style.isEmpty())
            ApplyStyle(attributes.style, open);
        // A hidden element leaves no paragraph end and no tab behind.
        if (!open.hides) {
            if (info.kind == Kind::Block || info.kind == Kind::Row)
                Boundary();
            if (info.kind == Kind::Cell && !rowCells_.empty() && rowCells_.back()++ > 0)
                Tab();
        }
        if (!selfClosing)
            Push(std::move(open));
    }

    // The ends HTML leaves out: <li> ends the open list item, <td> the open
    // cell, <tr> the open row, a block ends an open <p>.
    void ImpliedEnds(const TagInfo& info)
    {
        if (overflow_ > 0 || stack_.empty())
            return;
        auto popToNearest = [this](std::initializer_list<const char*> names,
                                   std::initializer_list<const char*> fences) {
            for (size_t i = stack_.size(); i-- > 0;) {
                const QString& n = stack_[i].name;
                for (const char* fence : fences)
                    if (n == QLatin1String(fence))
                        return;
                for (const char* match : names)
                    if (n == QLatin1String(match)) {
                        PopTo(i);
                        return;
                    }
            }
        };
        if (info.effect == Effect::ListItem)
            popToNearest({"li"}, {"ul", "ol", "menu", "dir", "table"});
        else if (info.kind == Kind::Cell)
            popToNearest({"td", "th"}, {"tr", "table"});
        else if (info.kind == Kind::Row)
            popToNearest({"tr"}, {"table"});
        if ((info.kind == Kind::Block || info.kind == Kind::Row) && stack_.back().name == u"p")
            PopTo(stack_.size() - 1);
    }

    void EndTag(const QString& name)
    {
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        const TagInfo& info = InfoOf(name);
        if (info.kind == Kind::Break) {
            HardBreak();  // </br> is read as <br>, as browsers do
            return;
        }
        for (size_t i = stack_.size(); i-- > 0;) {
            if (stack_[i].name == name) {
                PopTo(i);
                return;
            }
        }
        if (name == u"p")
            Boundary();  // a lone </p> still ends a paragraph
    }

    void Push(Open open)
    {
        if (open.hides)
            ++hidden_;
        if (open.effect == Effect::Pre) {
            ++pre_;
            skipNewline_ = true;  // the line break right after <pre> is not content
        }
        if (open.kind == Kind::Cell)
            ++cells_;
        if (open.kind == Kind::Row)
            rowCells_.push_back(0);
        stack_.push_back(std::move(open));
    }

    // Closes the element at index and everything opened inside it.
    void PopTo(size_t index)
    {
        while (stack_.size() > index) {
            Open& top = stack_.back();
            if (top.hides)
                --hidden_;
            if (top.effect == Effect::Pre)
                --pre_;
            if (top.kind == Kind::Cell)
                --cells_;
            if (top.kind == Kind::Row && !rowCells_.empty())
                rowCells_.pop_back();
            const bool block = (top.kind == Kind::Block || top.kind == Kind::Row) && !top.hides;
            stack_.pop_back();
            if (block)
                Boundary();
        }
    }

    // Script, style and the like: their content runs to their end tag.
    void RawContent(const QString& name, bool shown)
    {
        const QStringView rest(p_, end_);
        const QString endTag = QStringLiteral("</") + name;
        qsizetype at = rest.indexOf(endTag, 0, Qt::CaseInsensitive);
        const QChar* contentEnd = at < 0 ? end_ : p_ + at;
        if (shown && hidden_ == 0) {
            Boundary();
            ++pre_;
            skipNewline_ = true;
            Text(Decode(QStringView(p_, contentEnd)));
            --pre_;
            Boundary();
        }
        p_ = contentEnd;
        if (at >= 0)
            SkipPast(contentEnd, u'>');
    }

    // --- formats ------------------------------------------------------------------

    static void SetBold(QTextCharFormat& f, bool on)
    {
        if (on)
            f.setFontWeight(QFont::Bold);
        else
            f.clearProperty(QTextFormat::FontWeight);
    }

    static void SetPixels(Open& open, double pixels)
    {
        const int px = std::clamp(int(std::lround(pixels)), 1, rtf::MaxPixels);
        open.format.clearProperty(QTextFormat::FontPointSize);
        open.format.setProperty(QTextFormat::FontPixelSize, px);
        open.pixels = px;
    }

    static void SetPoints(Open& open, double points)
    {
        // Hundredths of a point: what the stream keeps.
        const double pt = std::clamp(std::round(points * 100) / 100, 1.0, rtf::MaxCentiPoints / 100.0);
        open.format.clearProperty(QTextFormat::FontPixelSize);
        open.format.setFontPointSize(pt);
        open.pixels = pt * 96.0 / 72.0;
    }

    void ApplyEffect(const TagInfo& info, Open& open) const
    {
        QTextCharFormat& f = open.format;
        switch (info.effect) {
        case Effect::Bold: SetBold(f, true); break;
        case Effect::Italic: f.setFontItalic(true); break;
        case Effect::Underline: f.setUnderlineStyle(QTextCharFormat::SingleUnderline); break;
        case Effect::Strike: f.setFontStrikeOut(true); break;
        case Effect::Heading: {
            static constexpr double factors[] = {2.0, 1.5, 1.17, 1.0, 0.83, 0.67};
            SetBold(f, true);
            if (info.level != 4)
                SetPixels(open, open.pixels * factors[std::clamp(int(info.level), 1, 6) - 1]);
            break;
        }
        case Effect::Big: SetPixels(open, open.pixels * 1.2); break;
        case Effect::Small: SetPixels(open, open.pixels / 1.2); break;
        default: break;
        }
    }

    void ApplyFontAttributes(const Attributes& a, Open& open) const
    {
        if (!a.color.isEmpty())
            SetColour(open.format, Decode(a.color));
        if (!a.face.isEmpty())
            SetFamily(open.format, Decode(a.face));
        if (!a.size.isEmpty()) {
            // <font size>: 1..7, or relative to 3.
            static constexpr int pixels[] = {10, 13, 16, 18, 24, 32, 48};
            const QString s = Decode(a.size).trimmed();
            bool ok = false;
            double n = s.toDouble(&ok);
            if (ok && std::isfinite(n)) {
                if (s.startsWith(u'+') || s.startsWith(u'-'))
                    n += 3;
                SetPixels(open, pixels[int(std::clamp(n, 1.0, 7.0)) - 1]);
            }
        }
    }

    void ApplyStyle(QStringView style, Open& open) const
    {
        for (QStringView declaration : style.split(u';')) {
            const qsizetype colon = declaration.indexOf(u':');
            if (colon < 0)
                continue;
            const QString property = declaration.first(colon).trimmed().toString().toLower();
            QString value = Decode(declaration.sliced(colon + 1)).trimmed();
            const qsizetype important = value.indexOf(u'!');
            if (important >= 0)
                value = value.first(important).trimmed();
            const QString lower = value.toLower();
            QTextCharFormat& f = open.format;
            if (property == u"font-weight") {
                bool numeric = false;
                const int weight = lower.toInt(&numeric);
                if (numeric)
                    SetBold(f, weight >= 600);
                else if (lower == u"bold" || lower == u"bolder")
                    SetBold(f, true);
                else if (lower == u"normal" || lower == u"lighter")
                    SetBold(f, false);
            } else if (property == u"font-style") {
                if (lower == u"italic" || lower.startsWith(u"oblique"))
                    f.setFontItalic(true);
                else if (lower == u"normal")
                    f.clearProperty(QTextFormat::FontItalic);
            } else if (property == u"text-decoration" || property == u"text-decoration-line") {
                if (lower.contains(u"none")) {
                    f.clearProperty(QTextFormat::TextUnderlineStyle);
                    f.clearProperty(QTextFormat::FontUnderline);
                    f.clearProperty(QTextFormat::FontStrikeOut);
                }
                if (lower.contains(u"underline"))
                    f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
                if (lower.contains(u"line-through"))
                    f.setFontStrikeOut(true);
            } else if (property == u"color") {
                SetColour(f, value);
            } else if (property == u"font-size") {
                ApplyFontSize(lower, open);
            } else if (property == u"font-family") {
                SetFamily(f, value);
            } else if (property == u"display") {
                open.hides = open.hides || lower == u"none";
            } else if (property == u"visibility" || property == u"mso-hide") {
                open.hides = open.hides || lower == u"hidden" || lower == u"all";
            }
        }
    }

    void ApplyFontSize(const QString& value, Open& open) const
    {
        static constexpr std::pair<const char*, double> keywords[] = {
            {"xx-small", 9}, {"x-small", 10}, {"small", 13},    {"medium", 16},
            {"large", 18},   {"x-large", 24}, {"xx-large", 32}, {"xxx-large", 48},
        };
        for (const auto& [word, pixels] : keywords)
            if (value == QLatin1String(word)) {
                SetPixels(open, pixels);
                return;
            }
        if (value == u"larger") {
            SetPixels(open, open.pixels * 1.2);
            return;
        }
        if (value == u"smaller") {
            SetPixels(open, open.pixels / 1.2);
            return;
        }
        qsizetype unitAt = 0;
        while (unitAt < value.size() && (IsAsciiDigit(value[unitAt]) || value[unitAt] == u'.'))
            ++unitAt;
        bool ok = false;
        const double number = QStringView(value).first(unitAt).toDouble(&ok);
        if (!ok || !(number > 0) || !std::isfinite(number))
            return;
        const QStringView unit = QStringView(value).sliced(unitAt).trimmed();
        if (unit == u"px" || unit.isEmpty())
            SetPixels(open, number);
        else if (unit == u"pt")
            SetPoints(open, number);
        else if (unit == u"em")
            SetPixels(open, open.pixels * std::min(number, 1000.0));
        else if (unit == u"rem")
            SetPixels(open, basePixels_ * std::min(number, 1000.0));
        else if (unit == u"%")
            SetPixels(open, open.pixels * std::min(number, 100000.0) / 100);
        else if (unit == u"pc")
            SetPoints(open, number * 12);
    }

    // CSS colours: #rgb, #rgba, #rrggbb, #rrggbbaa, rgb()/rgba() and names.
    static void SetColour(QTextCharFormat& f, const QString& value)
    {
        const QString v = value.trimmed().toLower();
        QColor colour;
        if (v.startsWith(u'#')) {
            const QStringView hex = QStringView(v).sliced(1);
            const bool shortForm = hex.size() == 3 || hex.size() == 4;
            if (!shortForm && hex.size() != 6 && hex.size() != 8)
                return;
            int channels[4] = {0, 0, 0, 255};
            const qsizetype width = shortForm ? 1 : 2;
            for (qsizetype i = 0; i * width < hex.size(); ++i) {
                bool ok = false;
                const int x = hex.sliced(i * width, width).toInt(&ok, 16);
                if (!ok)
                    return;
                channels[i] = shortForm ? x * 17 : x;
            }
            if (channels[3] == 0)
                return;  // transparent text is not shown that way in a note
            colour = QColor(channels[0], channels[1], channels[2]);
        } else if (v.startsWith(u"rgb")) {
            const qsizetype open = v.indexOf(u'(');
            const qsizetype close = v.indexOf(u')');
            if (open < 0 || close < open)
                return;
            QString inner = v.mid(open + 1, close - open - 1);
            for (QChar& c : inner)
                if (IsHtmlSpace(c) || c == u'/')
                    c = u',';  // "rgb(1, 2, 3)", "rgb(1 2 3 / 50%)"
            const QStringList parts = inner.split(u',', Qt::SkipEmptyParts);
            if (parts.size() < 3)
                return;
            double values[4] = {0, 0, 0, 1};
            for (qsizetype i = 0; i < std::min<qsizetype>(parts.size(), 4); ++i) {
                QString part = parts[i];
                const bool percent = part.endsWith(u'%');
                if (percent)
                    part.chop(1);
                bool ok = false;
                const double x = part.toDouble(&ok);
                if (!ok || !std::isfinite(x))
                    return;
                values[i] = i < 3 ? (percent ? x * 2.55 : x) : (percent ? x / 100 : x);
            }
            if (values[3] <= 0)
                return;
            colour =
                QColor(std::clamp(int(std::lround(values[0])), 0, 255), std::clamp(int(std::lround(values[1])), 0, 255),
                       std::clamp(int(std::lround(values[2])), 0, 255));
        } else if (QColor::isValidColorName(v)) {
            colour = QColor::fromString(v);
            if (colour.alpha() == 0)
                return;  // "transparent"
        }
        if (!colour.isValid())
            return;
        colour.setAlpha(255);
        f.setForeground(colour);
    }

    static void SetFamily(QTextCharFormat& f, const QString& list)
    {
        static const char* const generic[] = {"serif",         "sans-serif",        "monospace", "cursive",
                                              "fantasy",       "system-ui",         "inherit",   "initial",
                                              "-apple-system", "blinkmacsystemfont"};
        for (QString family : list.split(u',')) {
            family = family.trimmed();
            if (family.size() >= 2 && (family.front() == u'"' || family.front() == u'\'')
                && family.back() == family.front())
                family = family.mid(1, family.size() - 2).trimmed();
            const QString lower = family.toLower();
            bool isGeneric = lower.startsWith(u"ui-");
            for (const char* g : generic)
                isGeneric = isGeneric || lower == QLatin1String(g);
            if (family.isEmpty() || isGeneric)
                continue;
            // A family name is short and plain text.
            if (family.size() > 64)
                return;
            for (QChar c : family)
                if (c.unicode() < 0x20 || c == u'{' || c == u'}' || c == u';' || c == u'\\')
                    return;
            f.setFontFamilies(QStringList{family});
            return;
        }
    }

    // --- text -------------------------------------------------------------------------

    // A block starts or ends: the next text begins a new paragraph.
    void Boundary()
    {
        if (hidden_ > 0)
            return;
        if (cells_ > 0) {
            Space();
            return;
        }
        space_ = false;
        if (paragraphHasText_)
            breaks_ = std::max(breaks_, 1);
    }

    void HardBreak()
    {
        space_ = false;
        ++breaks_;
        paragraphHasText_ = true;  // a block after the break adds no second one
    }

    void Space()
    {
        if (paragraphHasText_ && breaks_ == 0 && !afterTab_)
            space_ = true;
    }

    // Between two cells of a row; white space around it is not kept.
    void Tab()
    {
        if (hidden_ > 0)
            return;
        UseFormat();
        space_ = false;
        EmitPending();
        Append(u'\t');
        afterTab_ = true;
    }

    void Text(const QString& text)
    {
        if (hidden_ > 0 || text.isEmpty())
            return;
        UseFormat();
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n && !tooLong_; ++i) {
            const QChar c = text[i];
            const char16_t u = c.unicode();
            if (pre_ > 0) {
                if (u == u'\r')
                    continue;
                if (u == u'\n') {
                    if (!skipNewline_)
                        HardBreak();
                    skipNewline_ = false;
                    continue;
                }
                skipNewline_ = false;
                if (u == u'\t' || u == u' ') {
                    EmitPending();
                    Append(c);
                    continue;
                }
            } else if (IsHtmlSpace(c) || u == 0x2028 || u == 0x2029 || u == 0x0B) {
                Space();
                continue;
            }
            if (u == 0xFFFC || u == 0xFDD0 || u == 0xFDD1 || u < 0x20 || u == 0x7F)
                continue;  // object marks and control characters are not text
            EmitPending();
            if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
                Append(c);
                Append(text[++i]);
            } else if (QChar::isSurrogate(u)) {
                Append(QChar(QChar::ReplacementCharacter));  // half a pair is no character
            } else {
                Append(u == 0x00A0 ? QChar(u' ') : c);
            }
        }
    }

    // The format of text at this point: the innermost element's.
    void UseFormat()
    {
        const QTextCharFormat& f = stack_.empty() ? empty_ : stack_.back().format;
        if (!(f == runFormat_)) {
            Flush();
            runFormat_ = f;
        }
    }

    void EmitPending()
    {
        if (breaks_ > 0) {
            Flush();
            for (; breaks_ > 0; --breaks_) {
                cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
                Count(1);
            }
            paragraphHasText_ = false;
        }
        if (space_) {
            space_ = false;
            Append(u' ');
        }
    }

    void Append(QChar c)
    {
        afterTab_ = false;
        run_ += c;
        paragraphHasText_ = true;
        Count(1);
    }

    void Count(qsizetype n)
    {
        chars_ += n;
        if (options_.maxChars >= 0 && chars_ > options_.maxChars)
            tooLong_ = true;
    }

    void Flush()
    {
        if (run_.isEmpty())
            return;
        cursor_.insertText(run_, runFormat_);
        run_.clear();
    }

    const QChar* p_;
    const QChar* end_;
    QTextCursor cursor_;
    HtmlReadOptions options_;
    double basePixels_;

    std::vector<Open> stack_;
    int overflow_ = 0;  // elements opened past the depth limit, not yet closed
    int hidden_ = 0;
    int pre_ = 0;
    int cells_ = 0;
    std::vector<int> rowCells_;  // cells seen so far in each open row

    QTextCharFormat empty_;
    QTextCharFormat runFormat_;
    QString run_;
    bool paragraphHasText_ = false;
    bool space_ = false;
    bool skipNewline_ = false;
    bool afterTab_ = false;
    int breaks_ = 0;
    qsizetype chars_ = 0;
    bool tooLong_ = false;
};

}  // namespace

HtmlReadResult ReadHtmlSubset(QStringView html, QTextDocument& doc, const HtmlReadOptions& options)
{
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    HtmlReadResult result = HtmlReadResult::TooLarge;
    if (html.size() <= MaxHtmlInput)
        result = HtmlReader(html, doc, options).Run();
    doc.setUndoRedoEnabled(undo);
    return result;
}

}  // namespace qn
