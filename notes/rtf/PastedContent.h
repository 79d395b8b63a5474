#pragma once
// What a paste or a drop puts into a note box: only what the note's RTF
// stream keeps, so that the box never shows what would be lost on saving.
// The data offered is taken in this order: our own boxes' RTF, RTF from
// other programs (read by our RTF reader: tables become tabs, pictures are
// left out), HTML (read by ReadHtmlSubset, never by Qt's HTML importer) and
// plain text.

#include <QString>
#include <QTextDocument>

#include <memory>

class QMimeData;

namespace qn {

// A note box holds at most this many characters (paragraph ends count as
// one); a paste that would take it past this is refused.
inline constexpr qsizetype MaxNoteChars = 1000 * 1000;
// What our boxes put on the clipboard besides HTML and plain text.
inline const QString kNoteRtfMimeType = QStringLiteral("application/x-qnweeknote-rtf");
// RTF larger than this is not read (it is mostly pictures); another flavour
// of the same data is taken instead.
inline constexpr qsizetype MaxPastedRtfBytes = 16 * 1024 * 1024;

struct PastedContent {
    enum class Kind {
        Nothing,  // nothing a note can hold (a picture alone, empty text)
        Plain,    // plain text: it takes the box's typing format
        Rich,     // runs with their own formats
        TooLong,  // more than the box has room for
    };
    Kind kind = Kind::Nothing;
    QString plain;                        // Plain: paragraphs separated by '\n'
    std::unique_ptr<QTextDocument> rich;  // Rich: the runs and paragraphs
};

// True when the data holds anything ConvertPasted may turn into text.
bool CanPasteIntoNote(const QMimeData& data);

// Converts the data for a box that has room for `room` more characters and
// whose own text is basePixels high.
PastedContent ConvertPasted(const QMimeData& data, qsizetype room, int basePixels);

}  // namespace qn
