// WriteRtf and PlainTextCrLf: a note box's document as RTF and as plain text.

#include "RtfCodePages.h"
#include "RtfFormat.h"
#include "RtfStream.h"

#include <QColor>
#include <QTextBlock>
#include <QTextDocument>

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
    explicit Writer(const QTextDocument& doc) {
        const QFont font = doc.defaultFont();
        const QString family = font.families().value(0, font.family());
        fonts_.push_back({family, DefaultCharsetOfFamily(family)});
        if (font.pixelSize() > 0)
            defaultHalfPoints_ = int(std::lround(font.pixelSize() * 1.5));
        else if (font.pointSizeF() > 0)
            defaultHalfPoints_ = int(std::lround(font.pointSizeF() * 2));
        body_.reserve(4096);
    }

    QByteArray Write(const QTextDocument& doc) {
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it)
                WriteFragment(it.fragment());
            body_ += "\\par\r\n";
        }
        return Header() + body_ + "}\r\n";
    }

private:
    QByteArray Header() const {
        QByteArray h;
        h.reserve(256);
        h += "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl";
        for (size_t i = 0; i < fonts_.size(); ++i) {
            h += "{\\f" + QByteArray::number(qsizetype(i)) + "\\fnil\\fcharset" +
                 QByteArray::number(fonts_[i].charset) + ' ';
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
                h += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) +
                     "\\blue" + QByteArray::number(qBlue(c)) + ';';
            h += "}\r\n";
        }
        h += "\\viewkind4\\uc1\\pard";
        if (defaultHalfPoints_ > 0)
            h += "\\fs" + QByteArray::number(defaultHalfPoints_);
        h += "\\qnfsi ";
        return h;
    }

    int FontIndex(const QString& family, int charset) {
        for (size_t i = 0; i < fonts_.size(); ++i)
            if (fonts_[i].charset == charset && fonts_[i].family == family)
                return int(i);
        fonts_.push_back({family, charset});
        return int(fonts_.size() - 1);
    }

    int ColorIndex(QRgb rgb) {
        rgb |= 0xFF000000u;
        for (size_t i = 0; i < colors_.size(); ++i)
            if (colors_[i] == rgb)
                return int(i + 1);
        colors_.push_back(rgb);
        return int(colors_.size());
    }

    void Word(const char* word, qint64 value) {
        body_ += '\\';
        body_ += word;
        body_ += QByteArray::number(value);
    }

    // The control words of a format; returns the code page its text is
    // written in.
    int WriteFormat(const QTextCharFormat& f, bool& any) {
        const qsizetype mark = body_.size();
        int charset = fonts_[0].charset;
        const QString family = FamilyOf(f);
        if (!family.isEmpty()) {
            charset = f.hasProperty(RtfCharsetProperty) ? f.intProperty(RtfCharsetProperty)
                                                        : DefaultCharsetOfFamily(family);
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

    void WriteFragment(const QTextFragment& fragment) {
        const QTextCharFormat format = fragment.charFormat();
        if (format.isImageFormat())
            return;  // pictures are not part of a note
        body_ += '{';
        bool any = false;
        const int codePage = WriteFormat(format, any);
        if (!any)
            body_.chop(1);  // plain text needs no group
        AppendText(body_, fragment.text(), codePage);
        if (any)
            body_ += '}';
    }

    static void Hex(QByteArray& out, uint8_t b) {
        static const char digits[] = "0123456789abcdef";
        out += "\\'";
        out += digits[b >> 4];
        out += digits[b & 15];
    }

    static void Unicode(QByteArray& out, char16_t c) {
        out += "\\u";
        out += QByteArray::number(int(int16_t(c)));
        out += '?';
    }

    static void AppendText(QByteArray& out, const QString& text, int codePage) {
        for (const QChar qc : text) {
            const char16_t c = qc.unicode();
            if (c >= 0x20 && c < 0x7F) {
                if (c == '\\' || c == '{' || c == '}')
                    out += '\\';
                out += char(c);
                continue;
            }
            switch (c) {
            case u'\t': out += "\\tab "; continue;
            case 0x2028: out += "\\line "; continue;
            case 0x00A0: out += "\\~"; continue;
            case 0x00AD: out += "\\-"; continue;
            case 0x2011: out += "\\_"; continue;
            case 0x2029: case 0xFDD0: case 0xFDD1: continue;  // structure, not text
            default: break;
            }
            if (c < 0x80 || QChar::isSurrogate(c)) {
                Unicode(out, c);
            } else if (codePage == GbkCodePage) {
                const uint16_t code = GbkEncode(c);
                if (code == 0) {
                    Unicode(out, c);
                } else if (code < 0x100) {
                    Hex(out, uint8_t(code));
                } else {
                    Hex(out, uint8_t(code >> 8));
                    Hex(out, uint8_t(code));
                }
            } else if (codePage == WesternCodePage) {
                const uint8_t b = WesternEncode(c);
                if (b)
                    Hex(out, b);
                else
                    Unicode(out, c);
            } else {
                Unicode(out, c);
            }
        }
    }

    std::vector<FontEntry> fonts_;
    std::vector<QRgb> colors_;
    int defaultHalfPoints_ = 0;
    QByteArray body_;
};

}  // namespace
}  // namespace qn::rtf

QByteArray WriteRtf(const QTextDocument& doc) {
    qn::rtf::Writer writer(doc);
    return writer.Write(doc);
}

QString PlainTextCrLf(const QTextDocument& doc) {
    QString out;
    bool first = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (!first)
            out += u"\r\n";
        first = false;
        for (const QChar c : block.text()) {
            if (c == QChar::LineSeparator)
                out += u"\r\n";
            else if (c.unicode() != 0xFDD0 && c.unicode() != 0xFDD1)
                out += c;
        }
    }
    return out;
}
