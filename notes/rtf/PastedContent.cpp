#include "notes/rtf/PastedContent.h"

#include "notes/rtf/HtmlReader.h"
#include "notes/rtf/RtfStream.h"

#include <QMimeData>
#include <QStringList>

namespace qn {
namespace {

const QStringList& RtfTypes()
{
    static const QStringList types = {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                                      QStringLiteral("text/richtext")};
    return types;
}

// Characters in a document, paragraph ends counted once each.
qsizetype CharactersIn(const QTextDocument& doc) { return doc.characterCount() - 1; }

bool IsEmpty(const QTextDocument& doc) { return doc.isEmpty() || CharactersIn(doc) <= 0; }

PastedContent Rich(std::unique_ptr<QTextDocument> doc, qsizetype room)
{
    PastedContent result;
    if (IsEmpty(*doc))
        return result;
    if (CharactersIn(*doc) > room) {
        result.kind = PastedContent::Kind::TooLong;
        return result;
    }
    result.kind = PastedContent::Kind::Rich;
    result.rich = std::move(doc);
    return result;
}

std::unique_ptr<QTextDocument> FromRtf(const QByteArray& bytes)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setUndoRedoEnabled(false);
    ReadRtf(bytes, *doc);
    return doc;
}

// Plain text as a note holds it: line ends as '\n', no object marks or
// control characters, no halves of surrogate pairs.
QString CleanPlainText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r') {
            out += u'\n';
            if (i + 1 < n && text[i + 1] == u'\n')
                ++i;
        } else if (c == 0x2029 || c == 0x2028) {
            out += u'\n';
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += text[i];
            out += text[++i];
        } else if (QChar::isSurrogate(c)) {
            out += QChar(QChar::ReplacementCharacter);
        } else if (c == u'\n' || c == u'\t' || (c >= 0x20 && c != 0x7F && c != 0xFFFC && c != 0xFDD0 && c != 0xFDD1)) {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

bool CanPasteIntoNote(const QMimeData& data)
{
    if (data.hasFormat(kNoteRtfMimeType) || data.hasHtml() || (data.hasText() && !data.text().isEmpty()))
        return true;
    for (const QString& type : RtfTypes())
        if (data.hasFormat(type))
            return true;
    return false;
}

PastedContent ConvertPasted(const QMimeData& data, qsizetype room, int basePixels)
{
    room = std::max<qsizetype>(room, 0);
    // Our own boxes' copy: the exact runs.
    if (data.hasFormat(kNoteRtfMimeType)) {
        const QByteArray bytes = data.data(kNoteRtfMimeType);
        if (bytes.size() <= MaxPastedRtfBytes)
            return Rich(FromRtf(bytes), room);
    }
    for (const QString& type : RtfTypes()) {
        if (!data.hasFormat(type))
            continue;
        const QByteArray bytes = data.data(type);
        if (bytes.size() > MaxPastedRtfBytes || !bytes.trimmed().startsWith("{\\rtf"))
            continue;
        PastedContent rich = Rich(FromRtf(bytes), room);
        if (rich.kind != PastedContent::Kind::Nothing)
            return rich;
    }
    if (data.hasHtml()) {
        const QString html = data.html();
        auto doc = std::make_unique<QTextDocument>();
        // One character past the room is enough to know the paste is too long.
        const HtmlReadResult read = ReadHtmlSubset(html, *doc, {basePixels, room});
        if (read == HtmlReadResult::TooLong)
            return {PastedContent::Kind::TooLong, {}, {}};
        if (read == HtmlReadResult::Read && !IsEmpty(*doc))
            return Rich(std::move(doc), room);
    }
    PastedContent result;
    if (!data.hasText())
        return result;
    QString text = CleanPlainText(data.text());
    if (text.isEmpty())
        return result;
    if (text.size() > room) {
        result.kind = PastedContent::Kind::TooLong;
        return result;
    }
    result.kind = PastedContent::Kind::Plain;
    result.plain = std::move(text);
    return result;
}

}  // namespace qn
