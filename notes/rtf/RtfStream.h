#pragma once
// The rich-text stream of the note boxes: a note is stored as RTF (the
// `Content` column) and as plain text with CR LF line breaks (`ContentBak`).
//
// The writer covers what a note box holds: paragraphs, line breaks (U+2028,
// Shift+Enter), tabs, font family, size, bold, italic, underline, strike-out,
// text colour and character set. Text is written for code page 936: Chinese
// as GBK \'xx pairs, characters GBK cannot hold (emoji, CJK extension B, ...)
// as \uN? with a signed 16-bit N, one \u per UTF-16 unit.
//
// Font sizes: RTF \fs counts whole half-points, while the boxes use pixel
// sizes (15 px = 11.25 pt). Every size is written as the nearest \fs for other
// readers, followed by one of our own control words that other readers ignore:
//   \qnpxN   the size is N pixels (QTextCharFormat FontPixelSize)
//   \qnptN   the size is N/100 points, when it is not a whole half-point
//   \qnfsi   no size of its own: the text takes the box's font size
// Text without a family of its own is written in the default font (\deff0,
// the document's default font) and read back without a family, so it keeps
// following the box font.
//
// The reader takes RTF as this writer and common Windows editors write it.
// Broken, truncated or hostile input never crashes or hangs: the reader keeps
// all the text it can make out. Loading is not an undoable edit: the undo
// history of the document is cleared.

#include <QByteArray>
#include <QString>
#include <QTextFormat>

class QTextDocument;

// Character set of a run's font as read from \fcharsetN. Stored in the
// QTextCharFormat only when it differs from what the family implies
// (134 for Chinese fonts and for the box font, 0 for Western ones).
inline constexpr int RtfCharsetProperty = QTextFormat::UserProperty + 0x5143;

// The whole document as RTF bytes. An empty document gives the RTF of an
// empty text.
QByteArray WriteRtf(const QTextDocument& doc);

// Replaces the document's content with the RTF in `bytes` and returns true.
// Bytes that do not start with "{\rtf" are not RTF: they are shown as plain
// text (GB18030, or UTF-8 after a byte-order mark) and the result is false.
// Empty bytes give an empty document (true).
bool ReadRtf(const QByteArray& bytes, QTextDocument& doc);

// The document as plain text, paragraphs and line breaks as CR LF.
QString PlainTextCrLf(const QTextDocument& doc);
