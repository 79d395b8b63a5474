#pragma once
// One note box of the week board: a QTextEdit that takes in only what a note
// keeps (a paste or a drop is reduced to the RTF stream's text, formats and
// paragraphs, and refused past MaxNoteChars), wraps a word longer than the
// box anywhere, and leaves the box with Tab and Shift+Tab (Ctrl+Tab types a
// tab character).

#include <QFont>
#include <QTextCharFormat>
#include <QTextEdit>

class TNoteBox : public QTextEdit {
    Q_OBJECT
public:
    // Words wrap at their boundaries, and a word wider than the box breaks
    // anywhere. Qt measures a word to its end for every line it breaks, so
    // a note that holds a word longer than this many characters (a pasted
    // blob, a row of letters) wraps anywhere throughout: otherwise every
    // keystroke in it would cost seconds.
    static constexpr int kLongWord = 2000;

    explicit TNoteBox(QWidget* parent = nullptr);

    // The message shown when a paste would take the box past MaxNoteChars.
    static QString PasteTooLongText();

    // The start of the note on screen: the caret before the first character
    // and the view scrolled to the top.
    void ShowTop();

    // Around a load of the box's document: no layout while the note is read
    // in (every insertion would lay out the whole note again), then one
    // layout that runs in steps (the visible part first, the rest from the
    // event loop) and the start of the note on screen. The document is
    // complete when EndLoad returns; only its layout goes on. Without an
    // EndLoad, the event loop ends the load.
    void BeginLoad();
    void EndLoad();

signals:
    // Tab (forward) or Shift+Tab: the focus is to go to the neighbouring box.
    void tabOut(bool forward);

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int BasePixels() const;
    void ChooseWrap(int position, int removed, int added);

    bool m_wrapAnywhere = false;
    bool m_loading = false;  // between BeginLoad and EndLoad
};

// The font the text at the box's caret is really shown in: the installed
// family behind a name the system lacks (宋体 shows in a substitute) and the
// size in pixels on screen. The font dialog opens on it.
QFont ShownFont(const QTextEdit& box);

// What the font dialog's answer changes: only the attributes in which
// `chosen` differs from `offered` as the dialog shows them (family, size in
// whole points, bold, italic, underline, strike-out). OK without a change
// gives an empty format, which changes nothing.
QTextCharFormat FontChange(const QFont& offered, const QFont& chosen, int dpi);

// Gives the selection (or, without one, the typing format) the change. A
// new size replaces the old one whether that was in pixels or in points.
void ApplyFontChange(QTextEdit& box, const QTextCharFormat& change);
