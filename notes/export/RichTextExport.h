#pragma once
// A note's rich text as an HTML fragment (bold, italic, underline,
// strike-out, colour, size and font kept), as Markdown (bold and italic
// kept) and as plain text.

#include <QString>

class QTextDocument;

// One <p> per paragraph, a <span style="..."> per run of formatting.
QString NoteAsHtml(const QTextDocument& doc);
// Paragraphs as lines ending in a hard line break; an empty paragraph ends
// a Markdown paragraph. Characters Markdown would read as markup are escaped.
QString NoteAsMarkdown(const QTextDocument& doc);
// Paragraphs and line breaks as "\n".
QString NoteAsText(const QTextDocument& doc);

// Text safe inside Markdown: every character with a meaning there escaped.
QString EscapeMarkdown(const QString& text, bool lineStart);
