// WriteRtf and PlainTextCrLf: a note box's document as RTF and as plain text.

#include "notes/rtf/RtfCodePages.h"
#include "notes/rtf/RtfFormat.h"
#include "notes/rtf/RtfStream.h"

#include <QColor>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qn::rtf {
namespace {

struct FontEntry {
    QString family;
    int charset;
};

class Writer {
public:
    explicit Writer(const QTextDocument& doc)
    {
        const QFont font = doc.defaultFont();
        const QString family = font.families().value(0, font.family());
        fonts_.push_back({family, DefaultCharsetOfFamily(family)});
        if (font.pixelSize() > 0)
            defaultHalfPoints_ = int(std::lround(font.pixelSize() * 1.5));
        else if (font.pointSizeF() > 0)
            defaultHalfPoints_ = int(std::lround(font.pointSizeF() * 2));
        body_.reserve(64 * 1024);
    }

    QByteArray Write(const QTextDocument& doc)
    {
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it)
                WriteFragment(it.fragment());
            body_ += "\\par\r\n";
        }
        return Header() + body_ + "}\r\n";
    }

private:
    QByteArray Header() const
    {
        QByteArray h;
        h.reserve(256);
        h += "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl";
        for (size_t i = 0; i < fonts_.size(); ++i) {
            h += "{\\f" + QByteArray::number(qsizetype(i)) + "\\fnil\\fcharset" + QByteArray::number(fonts_[i].charset)
                + ' ';
            // ';' ends a name, so one inside a name is escaped.
            QByteArray name;
            AppendText(name, fonts_[i].family, CodePageOfCharset(fonts_[i].charset, GbkCodePage));
            h += name.replace(";", "\\'3b");
            h += ";}";
        }
        h += "}\r\n";
        if (!colors_.empty()) {
            h += "{\\colortbl ;";
            for (QRgb c : colors_)
                h += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) + "\\blue"
                    + QByteArray::number(qBlue(c)) + ';';
            h += "}\r\n";
        }
        h += "\\viewkind4\\uc1\\pard";
        if (defaultHalfPoints_ > 0)
            h += "\\fs" + QByteArray::number(defaultHalfPoints_);
        h += "\\qnfsi ";
        return h;
    }

    int FontIndex(const QString& family, int charset)
    {
        for (size_t i = 0; i < fonts_.size(); ++i)
            if (fonts_[i].charset == charset && fonts_[i].family == family)
                return int(i);
        fonts_.push_back({family, charset});
        return int(fonts_.size() - 1);
    }

    int ColorIndex(QRgb rgb)
    {
        rgb |= 0xFF000000u;
        for (size_t i = 0; i < colors_.size(); ++i)
            if (colors_[i] == rgb)
                return int(i + 1);
        colors_.push_back(rgb);
        return int(colors_.size());
    }

    void Word(const char* word, qint64 value)
    {
        body_ += '\\';
        body_ += word;
        body_ += QByteArray::number(value);
    }

    // The control words of a format; returns the code page its text is
    // written in.
    int WriteFormat(const QTextCharFormat& f, bool& any)
    {
        const qsizetype mark = body_.size();
        int charset = fonts_[0].charset;
        const QString family = FamilyOf(f);
        if (!family.isEmpty()) {
            charset =
                f.hasProperty(RtfCharsetProperty) ? f.intProperty(RtfCharsetProperty) : DefaultCharsetOfFamily(family);
            Word("f", FontIndex(family, charset));
        }
        if (f.hasProperty(QTextFormat::FontPixelSize) && f.intProperty(QTextFormat::FontPixelSize) > 0) {
            const int px = f.intProperty(QTextFormat::FontPixelSize);
            Word("fs", std::lround(px * 1.5));
            Word("qnpx", px);
        } else if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0) {
            const double halfPoints = f.fontPointSize() * 2;
            Word("fs", std::lround(halfPoints));
            if (halfPoints != std::round(halfPoints))
                Word("qnpt", std::lround(f.fontPointSize() * 100));
        }
        if (f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold)
            body_ += "\\b";
        if (f.fontItalic())
            body_ += "\\i";
        const auto underline = f.underlineStyle();
        for (const auto& u : UnderlineWords)
            if (u.style == underline) {
                body_ += '\\';
                body_ += u.word;
            }
        if (f.fontStrikeOut())
            body_ += "\\strike";
        if (f.hasProperty(QTextFormat::ForegroundBrush)) {
            const QBrush brush = f.foreground();
            if (brush.style() != Qt::NoBrush)
                Word("cf", ColorIndex(brush.color().rgb()));
        }
        any = body_.size() != mark;
        if (any)
            body_ += ' ';
        return CodePageOfCharset(charset, GbkCodePage);
    }

    // Fragments of one format share its format index: its control words are
    // worked out once per save.
    void WriteFragment(const QTextFragment& fragment)
    {
        const int index = std::max(fragment.charFormatIndex(), 0);
        if (size_t(index) >= formats_.size())
            formats_.resize(size_t(index) + 1);
        CachedFormat& format = formats_[size_t(index)];
        if (!format.known) {
            const QTextCharFormat f = fragment.charFormat();
            format.known = true;
            format.picture = f.isImageFormat();
            const qsizetype mark = body_.size();
            bool any = false;
            format.codePage = WriteFormat(f, any);
            format.words = body_.mid(mark);
            body_.truncate(mark);
        }
        if (format.picture)
            return;                                  // pictures are not part of a note
        const bool group = !format.words.isEmpty();  // plain text needs no group
        if (group) {
            body_ += '{';
            body_ += format.words;
        }
        AppendText(body_, fragment.text(), format.codePage);
        if (group)
            body_ += '}';
    }

    static char* Hex(char* p, uint8_t b)
    {
        static const char digits[] = "0123456789abcdef";
        *p++ = '\\';
        *p++ = '\'';
        *p++ = digits[b >> 4];
        *p++ = digits[b & 15];
        return p;
    }

    static char* Word(char* p, const char* word)
    {
        while (*word)
            *p++ = *word++;
        return p;
    }

    // \uN? with N the unit as a signed 16-bit number, as Windows writes it.
    static char* Unicode(char* p, char16_t c)
    {
        int n = int16_t(c);
        *p++ = '\\';
        *p++ = 'u';
        if (n < 0) {
            *p++ = '-';
            n = -n;
        }
        char digits[6];
        int count = 0;
        do {
            digits[count++] = char('0' + n % 10);
            n /= 10;
        } while (n);
        while (count)
            *p++ = digits[--count];
        *p++ = '?';
        return p;
    }

    // Writes straight into the buffer: a save runs on every keystroke.
    static void AppendText(QByteArray& out, const QString& text, int codePage)
    {
        constexpr qsizetype MaxBytesPerUnit = 9;  // \u-12345?
        const qsizetype used = out.size();
        out.resize(used + text.size() * MaxBytesPerUnit);
        char* const begin = out.data();
        char* p = begin + used;
        const uint16_t* const gbk = codePage == GbkCodePage ? GbkEncodeTable() : nullptr;
        for (const QChar qc : text) {
            const char16_t c = qc.unicode();
            if (c >= 0x20 && c < 0x7F) {
                if (c == '\\' || c == '{' || c == '}')
                    *p++ = '\\';
                *p++ = char(c);
                continue;
            }
            switch (c) {
            case u'\t': p = Word(p, "\\tab "); continue;
            case 0x2028: p = Word(p, "\\line "); continue;
            case 0x00A0: p = Word(p, "\\~"); continue;
            case 0x00AD: p = Word(p, "\\-"); continue;
            case 0x2011: p = Word(p, "\\_"); continue;
            case 0x2029:
            case 0xFDD0:
            case 0xFDD1: continue;  // structure, not text
            default: break;
            }
            if (c < 0x80 || QChar::isSurrogate(c)) {
                p = Unicode(p, c);
            } else if (gbk) {
                const uint16_t code = gbk[c];
                if (code == 0) {
                    p = Unicode(p, c);
                } else if (code < 0x100) {
                    p = Hex(p, uint8_t(code));
                } else {
                    p = Hex(p, uint8_t(code >> 8));
                    p = Hex(p, uint8_t(code));
                }
            } else if (codePage == WesternCodePage) {
                const uint8_t b = WesternEncode(c);
                p = b ? Hex(p, b) : Unicode(p, c);
            } else {
                p = Unicode(p, c);
            }
        }
        out.resize(p - begin);
    }

    struct CachedFormat {
        bool known = false;
        bool picture = false;
        QByteArray words;  // control words and their closing space
        int codePage = GbkCodePage;
    };

    std::vector<CachedFormat> formats_;
    std::vector<FontEntry> fonts_;
    std::vector<QRgb> colors_;
    int defaultHalfPoints_ = 0;
    QByteArray body_;
};

}  // namespace
}  // namespace qn::rtf

QByteArray WriteRtf(const QTextDocument& doc)
{
    qn::rtf::Writer writer(doc);
    return writer.Write(doc);
}

QString PlainTextCrLf(const QTextDocument& doc)
{
    const QString raw = doc.toRawText();
    QString out(raw.size() * 2, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* d = begin;
    for (const QChar qc : raw) {
        const char16_t c = qc.unicode();
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            *d++ = u'\r';
            *d++ = u'\n';
        } else if (c != 0xFDD0 && c != 0xFDD1) {  // frame markers
            *d++ = c;
        }
    }
    out.resize(d - begin);
    return out;
}
