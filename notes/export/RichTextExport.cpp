#include "notes/export/RichTextExport.h"

#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

namespace {

constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kObject = 0xFFFC;  // an embedded object: not text

bool IsBold(const QTextCharFormat& format) { return format.fontWeight() >= QFont::DemiBold; }

QString CssOf(const QTextCharFormat& format)
{
    QStringList css;
    if (IsBold(format))
        css << QStringLiteral("font-weight:bold");
    if (format.fontItalic())
        css << QStringLiteral("font-style:italic");
    QStringList decoration;
    if (format.fontUnderline())
        decoration << QStringLiteral("underline");
    if (format.fontStrikeOut())
        decoration << QStringLiteral("line-through");
    if (!decoration.isEmpty())
        css << QStringLiteral("text-decoration:") + decoration.join(QLatin1Char(' '));
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        css << QStringLiteral("color:") + format.foreground().color().name();
    if (format.hasProperty(QTextFormat::FontPixelSize))
        css << QStringLiteral("font-size:%1px").arg(format.intProperty(QTextFormat::FontPixelSize));
    else if (format.hasProperty(QTextFormat::FontPointSize))
        css << QStringLiteral("font-size:%1pt").arg(format.fontPointSize());
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) {
        QString family = families.first();
        family.remove(QLatin1Char('"')).remove(QLatin1Char('\'')).remove(QLatin1Char(';'));
        css << QStringLiteral("font-family:'%1'").arg(family);
    }
    return css.join(QLatin1Char(';'));
}

QString CleanText(QString text)
{
    text.remove(QChar(kObject));
    return text;
}

// A run of Markdown text with its emphasis; spaces at either end stay
// outside the markers, where Markdown expects them.
QString Emphasised(const QString& escaped, bool bold, bool italic)
{
    if ((!bold && !italic) || escaped.trimmed().isEmpty())
        return escaped;
    qsizetype start = 0;
    qsizetype end = escaped.size();
    while (start < end && escaped[start].isSpace())
        ++start;
    while (end > start && escaped[end - 1].isSpace())
        --end;
    const QString marker = bold && italic ? QStringLiteral("***") : bold ? QStringLiteral("**") : QStringLiteral("*");
    return escaped.left(start) + marker + escaped.mid(start, end - start) + marker + escaped.mid(end);
}

}  // namespace

QString EscapeMarkdown(const QString& text, bool lineStart)
{
    static const QString special = QStringLiteral("\\`*_[]<>#|~{}!");
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool first = lineStart && i == 0;
        // Markers that only count at the start of a line: lists, quotes,
        // headings, rules, numbered lists ("1." or "1)").
        bool escape = special.contains(c) || (first && (c == u'-' || c == u'+' || c == u'=' || c == u'>'));
        if (first && c.isDigit()) {
            qsizetype j = i;
            while (j < text.size() && text[j].isDigit())
                ++j;
            if (j < text.size() && (text[j] == u'.' || text[j] == u')')) {
                out += text.mid(i, j - i) + QLatin1Char('\\') + text[j];
                i = j;
                continue;
            }
        }
        if (escape)
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

QString NoteAsHtml(const QTextDocument& doc)
{
    QString html;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString paragraph;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            QString text = CleanText(fragment.text()).toHtmlEscaped();
            text.replace(QChar(kLineSeparator), QStringLiteral("<br>"));
            if (text.isEmpty())
                continue;
            const QString css = CssOf(fragment.charFormat());
            paragraph += css.isEmpty() ? text : QStringLiteral("<span style=\"%1\">%2</span>").arg(css, text);
        }
        html += QStringLiteral("<p>%1</p>\n").arg(paragraph.isEmpty() ? QStringLiteral("<br>") : paragraph);
    }
    return html;
}

QString NoteAsMarkdown(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        // The runs of the paragraph by emphasis (colour and size do not
        // show in Markdown), each line of it separately.
        QString line;
        QString run;
        bool runBold = false, runItalic = false;
        auto flushRun = [&] {
            line += Emphasised(EscapeMarkdown(run, line.isEmpty()), runBold, runItalic);
            run.clear();
        };
        auto endLine = [&] {
            flushRun();
            lines << line;
            line.clear();
        };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            const bool bold = IsBold(format);
            const bool italic = format.fontItalic();
            if (bold != runBold || italic != runItalic) {
                flushRun();
                runBold = bold;
                runItalic = italic;
            }
            const QString text = CleanText(fragment.text());
            for (const QChar c : text) {
                if (c == QChar(kLineSeparator))
                    endLine();
                else
                    run += c;
            }
        }
        endLine();
    }
    // Lines of one paragraph are joined by hard breaks; an empty line
    // separates paragraphs.
    QString markdown;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        const bool nextEmpty = !last && lines[i + 1].trimmed().isEmpty();
        if (lines[i].trimmed().isEmpty()) {
            markdown += QLatin1Char('\n');
            continue;
        }
        markdown += lines[i];
        markdown += last || nextEmpty ? QStringLiteral("\n") : QStringLiteral("  \n");
    }
    return markdown;
}

QString NoteAsText(const QTextDocument& doc) { return CleanText(doc.toPlainText()); }
