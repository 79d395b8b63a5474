#pragma once
// The week board: the six note boxes of the shown week under their day
// headers, the grid between them, the strip over the selected day's box, and
// the boxes' way to and from the store. The main window owns one and places
// it; every change in a box saves the whole week once the board has been
// shown.
//
// What the boxes hold compared with the store is the model's
// (WeekNotesModel): the board shows a box whose note could not be read as
// read-only with a note in it, and a sign over the headers while notes wait
// to be stored.

#include "holidays/HolidayCalendar.h"
#include "notes/board/WeekNotesModel.h"
#include "notes/store/WeekNotes.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QFrame;
class QLabel;
class QTextEdit;
class TDM;

// False while the shown week's notes are being loaded or saved, and from the
// board's creation until the first load has finished.
extern bool NotesReady;

class TWeekBoard : public QWidget {
    Q_OBJECT
public:
    // The store's log is copied into the file once the user has paused this long.
    static constexpr int kCheckpointPauseMs = 1500;
    // What a box shows while its note cannot be read.
    static const QString kUnknownNote;

    TWeekBoard(TDM& dm, QWidget* parent);

    // --- the store --------------------------------------------------------------------
    void SaveWeekNotes();
    // Rebuilds ShownWeek for the week of d and fills the boxes from the store.
    void LoadWeekNotes(double d);

    // Change and focus-out of every box: save once the board has been shown
    // and no load or save is running.
    void redt1Exit();
    // From now on changes in the boxes are the user's: they are saved.
    void SetShown() { FShown = true; }
    bool FShown = false;

    // The whole notes file has passed its check: held saves are written.
    void WholeFileChecked() { m_model->WholeFileChecked(); }
    qn::WeekNotesModel* model() const { return m_model; }

    // --- layout --------------------------------------------------------------------------
    // Places the grid, the headers and the boxes for the board's size, and
    // the strip over the marked day.
    void ArrangeBoxes();
    // Moves the strip over the box of day d, or hides it when d is not in
    // the shown week.
    void MarkSelectedDay(double d);

    // --- headers --------------------------------------------------------------------------
    // The holiday table the headers' 休/班 marks come from; null shows none.
    // Set it again whenever the table changes: the headers follow at once.
    void SetHolidays(std::shared_ptr<const qn::HolidayCalendar> holidays);
    // The header of box 0..5 as plain text: "周 六/日 · 休".
    QString HeaderText(int box) const;

    const NoteBoxes& boxes() const { return m_boxes; }
    // The box that has the keyboard focus and takes editing, or null.
    QTextEdit* FocusedBox() const;

signals:
    // A box asks for its context menu at a place on the screen.
    void boxMenuRequested(QTextEdit* box, const QPoint& globalPos);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildGrid();
    void BuildBoxes();
    // The grid lines lie above the boxes they border.
    void RaiseGridLines();
    // Tab and Shift+Tab in box `from` (0..5): the next or previous box.
    void FocusNeighbourBox(size_t from, bool forward);
    // Around a load: the boxes are not laid out while their notes are read
    // in; afterwards each is laid out in steps and shows the start of its
    // note.
    void HoldBoxLayouts();
    void ShowLoadedBoxes();
    void ShowKnownBox(int box, const std::optional<qn::DayNote>& note);
    void ShowUnknownBox(int box);
    void ShowSign(const QString& text);
    // The headers of the shown week, with their marks.
    void ShowHeaders();
    void PlaceSign();

    NoteBoxes m_boxes{};
    qn::WeekNotesModel* m_model = nullptr;
    QLabel* lblUnsaved = nullptr;       // the sign while notes wait to be stored
    std::optional<double> m_markedDay;  // the day the strip marks, once one is
    bool m_loadingWeek = false;         // the boxes' layouts are held for a week's load
    std::shared_ptr<const qn::HolidayCalendar> m_holidays;
    std::array<QString, 6> m_headerTexts{};

    QFrame* pnl_yearLine0 = nullptr;
    QFrame* pnl_yearLine1 = nullptr;
    QFrame* pnl_yearLine2 = nullptr;
    QFrame* pnl_yearLineREdge = nullptr;
    QFrame* pnl_buttonline = nullptr;
    QLabel* imgtitle_year1 = nullptr;
    QLabel* imgtitle_year2 = nullptr;
    QLabel* imgSelColor = nullptr;
    std::array<QLabel*, 6> m_headerLabels{};
};
