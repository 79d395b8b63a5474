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
// The reader takes RTF as this writer and common Windows editors write it:
// font and colour tables, character sets and code pages (\'xx bytes are
// read in the code page of the run's font, else of \ansicpg; \ansi alone
// means 1252, no code page at all 936), \uN with \ucN fallbacks, ignorable
// and other non-text destinations, fields (their result is kept), tables
// (cells become tabs, rows paragraphs). Hidden text (\v) is left out.
// Rich edit's protected effect (\protect) has no counterpart in a QTextEdit:
// it is ignored on reading and never written, so protected text loads as
// ordinary text. A paragraph mark at the very end opens no empty paragraph,
// as in a rich-edit box; empty paragraphs take the formatting at their mark.
// Broken, truncated or hostile input never crashes or hangs: the reader keeps
// all the text it can make out (groups nest at most 256 deep, numbers and
// sizes are clamped). Loading is not an undoable edit: the undo history is
// cleared and the document is left unmodified, so that an undo can never
// bring back another week's note.

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
