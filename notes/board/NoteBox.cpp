#include "notes/board/NoteBox.h"

#include "core/Messages.h"
#include "notes/rtf/PastedContent.h"
#include "notes/rtf/RtfStream.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTimer>

#include <cmath>
#include <vector>

TNoteBox::TNoteBox(QWidget* parent) : QTextEdit(parent)
{
    // A word wider than the box (a long address, a row of digits) breaks
    // anywhere instead of running out of the box.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setAcceptRichText(true);
    setTabChangesFocus(false);  // focusNextPrevChild below decides
    // Before the layout sees new text (a load, a paste, a keystroke), so
    // that a huge word is never laid out word-wise.
    connect(document(), &QTextDocument::contentsChange, this, &TNoteBox::ChooseWrap, Qt::DirectConnection);
}

namespace {

// Where a line may break: white space, CJK characters (each one), and the
// marks after which an address or a path breaks. What is not caught here
// only counts towards a long word, which makes wrapping cheaper, not wrong.
bool BreaksAWord(char16_t c)
{
    if (c <= u' ' || c == u'-' || c == u'/' || c == u'?' || c == u'&' || c == 0x00A0 || c == 0x2028 || c == 0x2029)
        return true;
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x3000 && c <= 0x303F);
}

// True when a paragraph of the document between the blocks holding `from`
// and `to` has a word of more than TNoteBox::kLongWord characters.
bool HasLongWord(const QTextDocument& doc, int from, int to)
{
    for (QTextBlock block = doc.findBlock(from); block.isValid() && block.position() <= to; block = block.next()) {
        if (block.length() <= TNoteBox::kLongWord)
            continue;
        const QString text = block.text();
        int run = 0;
        for (const QChar c : text) {
            run = BreaksAWord(c.unicode()) ? 0 : run + 1;
            if (run > TNoteBox::kLongWord)
                return true;
        }
    }
    return false;
}

}  // namespace

void TNoteBox::ChooseWrap(int position, int /*removed*/, int added)
{
    const QTextDocument& doc = *document();
    const bool whole = position == 0 && added >= doc.characterCount() - 1;
    if (!m_wrapAnywhere && added > 0 && HasLongWord(doc, position, position + added)) {
        m_wrapAnywhere = true;
    } else if (m_wrapAnywhere && whole && !HasLongWord(doc, 0, doc.characterCount())) {
        m_wrapAnywhere = false;  // a new note without such a word
    } else {
        return;
    }
    setWordWrapMode(m_wrapAnywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
}

QString TNoteBox::PasteTooLongText()
{
    return QStringLiteral("内容太长，没有粘贴：每个记事框最多保存 %1 个字符。").arg(qn::MaxNoteChars);
}

void TNoteBox::ShowTop()
{
    setTextCursor(QTextCursor(document()));
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void TNoteBox::BeginLoad()
{
    // A document whose page has no size is not laid out at all.
    document()->setPageSize(QSizeF(0, 0));
    m_loading = true;
    // A load that never reports its end must not leave the box blank.
    QTimer::singleShot(0, this, [this] {
        if (m_loading)
            EndLoad();
    });
}

void TNoteBox::EndLoad()
{
    m_loading = false;
    // The read left the caret at the note's end: moving it to the start
    // while nothing is laid out spares a layout of the whole note just to
    // find where the caret was.
    setTextCursor(QTextCursor(document()));
    // A note this long is taller than any box: its scroll bar is there
    // before the layout, which then runs once, at the width it is shown at,
    // instead of once more when the scroll bar appears.
    constexpr int kSurelyTall = 4000;
    const bool tall = document()->characterCount() > kSurelyTall;
    if (tall)
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The page size the box itself gives its document; setting it lays the
    // whole note out as new, which Qt does in steps.
    const QSizeF page(viewport()->width(), -1);
    if (document()->pageSize() != page)
        document()->setPageSize(page);
    if (tall)
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ShowTop();
}

int TNoteBox::BasePixels() const
{
    const int pixels = font().pixelSize();
    return pixels > 0 ? pixels : QFontInfo(font()).pixelSize();
}

bool TNoteBox::canInsertFromMimeData(const QMimeData* source) const
{
    return source && !isReadOnly() && qn::CanPasteIntoNote(*source);
}

void TNoteBox::insertFromMimeData(const QMimeData* source)
{
    if (!source || isReadOnly())
        return;
    QTextCursor cursor = textCursor();
    const qsizetype kept = document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
    const qn::PastedContent pasted = qn::ConvertPasted(*source, qn::MaxNoteChars - kept, BasePixels());
    switch (pasted.kind) {
    case qn::PastedContent::Kind::Nothing: return;
    case qn::PastedContent::Kind::TooLong: qn::ShowPlainMessage(this, PasteTooLongText()); return;
    case qn::PastedContent::Kind::Plain:
        cursor.beginEditBlock();
        cursor.insertText(pasted.plain);  // in the typing format, as typed text
        cursor.endEditBlock();
        break;
    case qn::PastedContent::Kind::Rich:
        cursor.beginEditBlock();
        cursor.insertFragment(QTextDocumentFragment(pasted.rich.get()));
        cursor.endEditBlock();
        break;
    }
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData* TNoteBox::createMimeDataFromSelection() const
{
    auto* copied = new QMimeData;
    const QTextDocumentFragment fragment = textCursor().selection();
    if (fragment.isEmpty())
        return copied;
    copied->setText(fragment.toPlainText());
    copied->setHtml(fragment.toHtml());
    // Another box takes our own stream: the runs arrive exactly as they were.
    QTextDocument copy;
    copy.setDefaultFont(document()->defaultFont());
    QTextCursor(&copy).insertFragment(fragment);
    copied->setData(qn::kNoteRtfMimeType, WriteRtf(copy));
    return copied;
}

bool TNoteBox::focusNextPrevChild(bool next)
{
    // Tab and Shift+Tab lead to the neighbouring box, not into the text.
    emit tabOut(next);
    return true;
}

void TNoteBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ControlModifier)
        && !(event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier)) && !isReadOnly()) {
        textCursor().insertText(QStringLiteral("\t"));
        ensureCursorVisible();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

QFont ShownFont(const QTextEdit& box)
{
    const QFont boxFont = box.document()->defaultFont();
    const QFont asked = box.currentCharFormat().font().resolve(boxFont);
    const QFontInfo info(asked);
    QFont shown(info.family());
    shown.setPixelSize(info.pixelSize());
    shown.setBold(info.bold());
    shown.setItalic(info.italic());
    shown.setUnderline(asked.underline());
    shown.setStrikeOut(asked.strikeOut());
    return shown;
}

namespace {

// The size as the font dialog shows it: whole points.
int DialogPoints(const QFont& font, int dpi)
{
    if (font.pixelSize() > 0)
        return int(std::lround(font.pixelSize() * 72.0 / dpi));
    return int(std::lround(font.pointSizeF()));
}

}  // namespace

QTextCharFormat FontChange(const QFont& offered, const QFont& chosen, int dpi)
{
    QTextCharFormat change;
    if (chosen.family().compare(offered.family(), Qt::CaseInsensitive) != 0)
        change.setFontFamilies(QStringList{chosen.family()});
    if (DialogPoints(chosen, dpi) != DialogPoints(offered, dpi)) {
        if (chosen.pixelSize() > 0)
            change.setProperty(QTextFormat::FontPixelSize, chosen.pixelSize());
        else
            change.setFontPointSize(chosen.pointSizeF());
    }
    if (chosen.bold() != offered.bold())
        change.setFontWeight(chosen.bold() ? QFont::Bold : QFont::Normal);
    if (chosen.italic() != offered.italic())
        change.setFontItalic(chosen.italic());
    if (chosen.underline() != offered.underline())
        change.setFontUnderline(chosen.underline());
    if (chosen.strikeOut() != offered.strikeOut())
        change.setFontStrikeOut(chosen.strikeOut());
    return change;
}

namespace {

QTextCharFormat Changed(QTextCharFormat format, const QTextCharFormat& change)
{
    if (change.hasProperty(QTextFormat::FontPixelSize))
        format.clearProperty(QTextFormat::FontPointSize);
    if (change.hasProperty(QTextFormat::FontPointSize))
        format.clearProperty(QTextFormat::FontPixelSize);
    format.merge(change);
    return format;
}

}  // namespace

void ApplyFontChange(QTextEdit& box, const QTextCharFormat& change)
{
    const QTextCursor selection = box.textCursor();
    if (!selection.hasSelection()) {
        box.setCurrentCharFormat(Changed(box.currentCharFormat(), change));
        return;
    }
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    struct Piece {
        int from, to;
        QTextCharFormat format;
    };
    std::vector<Piece> pieces;
    for (QTextBlock block = box.document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from < to)
                pieces.push_back({from, to, Changed(fragment.charFormat(), change)});
        }
    }
    QTextCursor edit(box.document());
    edit.beginEditBlock();
    for (const Piece& piece : pieces) {
        edit.setPosition(piece.from);
        edit.setPosition(piece.to, QTextCursor::KeepAnchor);
        edit.setCharFormat(piece.format);
    }
    edit.endEditBlock();
}
