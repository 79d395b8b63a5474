#pragma once
// What the tests compare: a document as paragraphs of runs, each run its
// text and the attributes the RTF stream carries.

#include "notes/rtf/RtfStream.h"

#include <QColor>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>

#include <ostream>
#include <vector>

namespace rtftest {

struct Attrs {
    QString family;     // empty: the box's family
    int pixels = 0;     // FontPixelSize, 0 when not set
    double points = 0;  // FontPointSize, 0 when not set
    int weight = QFont::Normal;
    bool italic = false;
    int underline = QTextCharFormat::NoUnderline;
    bool strike = false;
    QString color;     // #aarrggbb, empty when the text has no colour
    int charset = -1;  // RtfCharsetProperty, -1 when not stored
    bool operator==(const Attrs&) const = default;
};

struct Run {
    QString text;
    Attrs attrs;
    bool operator==(const Run&) const = default;
};

using Paragraph = std::vector<Run>;
using Runs = std::vector<Paragraph>;

// One paragraph of one run.
inline Runs OneRun(const QString& text, const Attrs& attrs)
{
    Runs runs(1);
    runs[0].push_back(Run{text, attrs});
    return runs;
}

inline Attrs AttrsOf(const QTextCharFormat& f)
{
    Attrs a;
    a.family = f.fontFamilies().toStringList().value(0);
    if (f.hasProperty(QTextFormat::FontPixelSize))
        a.pixels = f.intProperty(QTextFormat::FontPixelSize);
    if (f.hasProperty(QTextFormat::FontPointSize))
        a.points = f.fontPointSize();
    a.weight = f.fontWeight();
    a.italic = f.fontItalic();
    a.underline = f.underlineStyle();
    a.strike = f.fontStrikeOut();
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        a.color = f.foreground().color().name(QColor::HexArgb);
    if (f.hasProperty(RtfCharsetProperty))
        a.charset = f.intProperty(RtfCharsetProperty);
    return a;
}

// Adjacent fragments with equal attributes are one run: how a document
// happens to split its text is not part of what is stored.
inline Runs RunsOf(const QTextDocument& doc)
{
    Runs runs;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        Paragraph p;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const Run r{it.fragment().text(), AttrsOf(it.fragment().charFormat())};
            if (!p.empty() && p.back().attrs == r.attrs)
                p.back().text += r.text;
            else
                p.push_back(r);
        }
        runs.push_back(p);
    }
    return runs;
}

inline QString Escaped(const QString& s)
{
    QString out;
    for (QChar c : s) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            out += c;
        else
            out += QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

inline void PrintTo(const Run& r, std::ostream* os)
{
    const Attrs& a = r.attrs;
    *os << '"' << Escaped(r.text).toStdString() << "\" {family=" << a.family.toStdString() << " px=" << a.pixels
        << " pt=" << a.points << " weight=" << a.weight << " italic=" << a.italic << " ul=" << a.underline
        << " strike=" << a.strike << " color=" << a.color.toStdString() << " charset=" << a.charset << '}';
}

inline QByteArray Fixture(const char* name)
{
    QFile f(QStringLiteral(RTF_FIXTURE_DIR "/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A document set up like a note box: 宋体 15 pixels.
inline void UseBoxFont(QTextDocument& doc)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(15);
    doc.setDefaultFont(font);
}

}  // namespace rtftest
