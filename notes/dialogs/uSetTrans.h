#pragma once
// The note-box look: "全透明效果" (the boxes take the system's window colour)
// or "半透明效果" (light grey 0xF7F7F7), kept in Data/SetTrans.ini as one
// line, 1 or 0.

#include "core/ProgramFolder.h"

#include <QColor>
#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QRadioButton;
class QFrame;

namespace qn {

class TCaptionButtons;

// The colour of the note boxes for a mode: 1 → the palette's base colour
// (the system window colour of edit boxes), anything else → 0xF7F7F7.
QColor NoteBoxColour(int transMode, const QPalette& palette);

// Sets the background of each box, in the given order, for the mode.
void ApplyNoteBoxColour(const QList<QWidget*>& boxes, int transMode);

class TSetTransFrm : public QDialog {
    Q_OBJECT
public:
    explicit TSetTransFrm(const ProgramFolder& folder, QWidget* parent = nullptr);

    // The mode in effect: 1 full, anything else half.
    int FTransMode = 1;

    // Reads Data/SetTrans.ini into FTransMode; writes "1" when it is missing.
    // An empty, non-numeric or unreadable file means 1 and is left as it is.
    void LoadTransMode();
    // FTransMode := mode, then writes the file. False (error reported in the
    // general error report) when the file could not be written.
    bool SaveTransMode(int mode);

    // The controls, named as in the window's design.
    QFrame* shpBGSetTrans = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QRadioButton* rdiHalfTrans = nullptr;
    QRadioButton* rdiAllTrans = nullptr;
    QPushButton* btnok = nullptr;
    QPushButton* btncancel = nullptr;
    TCaptionButtons* captionButtons = nullptr;

public slots:
    void btnokClick();
    void btncancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    ProgramFolder m_folder;
};

}  // namespace qn
