#include "notes/export/RangeExport.h"

#include "calendar/DateValue.h"
#include "core/DayTexts.h"
#include "core/Messages.h"
#include "core/SafeFile.h"
#include "notes/export/RichTextExport.h"
#include "notes/rtf/RtfStream.h"
#include "store/NoteRange.h"

#include <QTextDocument>

#include <memory>
#include <vector>

namespace {

double DateValue(const QDate& d) { return qn::EncodeDate(d.year(), d.month(), d.day()); }
QString Iso(const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }
QString Lunar(const QDate& d) { return qn::LunarDateText(DateValue(d)); }
std::string Key(const QDate& d) { return d.toString(QStringLiteral("yyyyMMdd")).toStdString(); }

QDate MondayOf(const QDate& d) { return d.addDays(1 - d.dayOfWeek()); }

// "2024-04-29 至 2024-05-05（三月廿一 至 三月廿七）"
QString WeekTitle(const QDate& monday)
{
    const QDate sunday = monday.addDays(6);
    QString title = Iso(monday) + QStringLiteral(" 至 ") + Iso(sunday);
    const QString first = Lunar(monday);
    const QString last = Lunar(sunday);
    if (!first.isEmpty() && !last.isEmpty())
        title += QStringLiteral("（%1 至 %2）").arg(first, last);
    return title;
}

// "星期一 2024-04-29 三月廿一", "星期六/日 2024-05-04/05-05 三月廿六/三月廿七"
QString DayTitle(const QDate& day)
{
    const QString word = qn::NoteDayWord(DateValue(day));
    if (day.dayOfWeek() != 6) {
        const QString lunar = Lunar(day);
        return word + QLatin1Char(' ') + Iso(day) + (lunar.isEmpty() ? QString() : QLatin1Char(' ') + lunar);
    }
    const QDate sunday = day.addDays(1);
    QString title = word + QLatin1Char(' ') + Iso(day) + QLatin1Char('/') + sunday.toString(QStringLiteral("MM-dd"));
    const QString saturdayLunar = Lunar(day);
    const QString sundayLunar = Lunar(sunday);
    if (!saturdayLunar.isEmpty() && !sundayLunar.isEmpty())
        title += QLatin1Char(' ') + saturdayLunar + QLatin1Char('/') + sundayLunar;
    return title;
}

// The note as the notebook shows it: its RTF, or its plain text when the
// row holds no RTF.
std::unique_ptr<QTextDocument> DocumentOf(const qn::DayNote& note)
{
    auto doc = std::make_unique<QTextDocument>();
    if (!note.rtf.isEmpty())
        ReadRtf(note.rtf, *doc);
    else
        doc->setPlainText(note.plain);
    return doc;
}

class Writer {
public:
    virtual ~Writer() = default;
    virtual void Begin(const QString& title) = 0;
    virtual void Week(const QString& title) = 0;
    virtual void Day(const QString& title, const QTextDocument& note) = 0;
    virtual void End() = 0;
    QString out;
};

class MarkdownWriter : public Writer {
public:
    void Begin(const QString& title) override { out += QStringLiteral("# ") + EscapeMarkdown(title, false) + u'\n'; }
    void Week(const QString& title) override { out += QStringLiteral("\n## ") + EscapeMarkdown(title, false) + u'\n'; }
    void Day(const QString& title, const QTextDocument& note) override
    {
        out += QStringLiteral("\n### ") + EscapeMarkdown(title, false) + QStringLiteral("\n\n") + NoteAsMarkdown(note);
    }
    void End() override { }
};

class HtmlWriter : public Writer {
public:
    void Begin(const QString& title) override
    {
        out += QStringLiteral(
                   "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
                   "<style>body{font-family:sans-serif;max-width:48em;margin:2em auto;line-height:1.5}"
                   "h2{border-bottom:1px solid #ccc}p{margin:0}.note{margin:0 0 1em 1em}</style>\n"
                   "</head>\n<body>\n<h1>%1</h1>\n")
                   .arg(title.toHtmlEscaped());
    }
    void Week(const QString& title) override { out += QStringLiteral("<h2>%1</h2>\n").arg(title.toHtmlEscaped()); }
    void Day(const QString& title, const QTextDocument& note) override
    {
        out += QStringLiteral("<h3>%1</h3>\n<div class=\"note\">\n%2</div>\n")
                   .arg(title.toHtmlEscaped(), NoteAsHtml(note));
    }
    void End() override { out += QStringLiteral("</body>\n</html>\n"); }
};

class TextWriter : public Writer {
public:
    void Begin(const QString& title) override { out += title + u'\n'; }
    void Week(const QString& title) override { out += QStringLiteral("\n==== %1 ====\n").arg(title); }
    void Day(const QString& title, const QTextDocument& note) override
    {
        QString text = NoteAsText(note);
        while (text.endsWith(u'\n'))
            text.chop(1);
        out += QStringLiteral("\n【%1】\n").arg(title) + text + u'\n';
    }
    void End() override { }
};

std::unique_ptr<Writer> WriterFor(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Markdown: return std::make_unique<MarkdownWriter>();
    case ExportFormat::Html: return std::make_unique<HtmlWriter>();
    case ExportFormat::Text: break;
    }
    return std::make_unique<TextWriter>();
}

}  // namespace

std::optional<ExportFormat> ExportFormatNamed(const QString& name)
{
    if (name == QLatin1String("md"))
        return ExportFormat::Markdown;
    if (name == QLatin1String("html"))
        return ExportFormat::Html;
    if (name == QLatin1String("txt"))
        return ExportFormat::Text;
    return std::nullopt;
}

QString ExportSuffix(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Markdown: return QStringLiteral("md");
    case ExportFormat::Html: return QStringLiteral("html");
    case ExportFormat::Text: break;
    }
    return QStringLiteral("txt");
}

RangeExportResult ExportRange(sqlite3* db, const QDate& from, const QDate& to, ExportFormat format)
{
    RangeExportResult result;
    // A range that starts on a Sunday holds that weekend's shared note.
    const QDate first = from.dayOfWeek() == 7 ? from.addDays(-1) : from;
    const qn::StoreResult<std::vector<qn::DayNote>> notes = qn::ReadDayNotes(db, Key(first), Key(to));
    result.status = notes.status;
    if (!notes.ok())
        return result;

    // The notes come oldest first, so a week's days follow one another; each
    // note is written as it is read (a range of many years never holds more
    // than one note's document). A Sunday has no box of its own.
    std::unique_ptr<Writer> writer = WriterFor(format);
    writer->Begin(QStringLiteral("%1 笔记 %2 至 %3").arg(qn::kApplicationTitle, Iso(from), Iso(to)));
    QDate week;
    for (const qn::DayNote& note : notes.value) {
        const QDate day = QDate::fromString(QString::fromStdString(note.key), QStringLiteral("yyyyMMdd"));
        if (!day.isValid() || day.dayOfWeek() == 7)
            continue;
        const std::unique_ptr<QTextDocument> doc = DocumentOf(note);
        if (doc->toPlainText().trimmed().isEmpty())
            continue;
        if (MondayOf(day) != week) {
            week = MondayOf(day);
            writer->Week(WeekTitle(week));
        }
        writer->Day(DayTitle(day), *doc);
        ++result.days;
    }
    writer->End();
    result.bytes = writer->out.toUtf8();
    return result;
}

std::optional<std::pair<QDate, QDate>> StoredDaySpan(sqlite3* db)
{
    const auto span = qn::DayKeySpan(db);
    if (!span.ok() || span.value.first.empty())
        return std::nullopt;
    const QString format = QStringLiteral("yyyyMMdd");
    return std::make_pair(QDate::fromString(QString::fromStdString(span.value.first), format),
                          QDate::fromString(QString::fromStdString(span.value.second), format));
}

QString WriteExportBytes(const QString& path, const QByteArray& bytes)
{
    // A link with the chosen name is replaced, never the file it points to.
    if (const auto error = qn::WriteFileSafely(path, bytes, qn::LinkHandling::ReplaceLink))
        return error->message();
    return QString();
}
