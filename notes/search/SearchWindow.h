#pragma once
// The search window: a field and the list of days whose note holds its text.
// Typing refines the list as it goes; an input method composes in the field
// undisturbed (only committed text searches). Enter, or a double-click on a
// line, asks the main window to show that day with the hit selected.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QListView;
class QTimer;
class TSearchResults;

namespace qn {
class NoteSearch;
}

class TSearchFrm : public QDialog {
    Q_OBJECT
public:
    // While the index is in step a keystroke searches at once; while the
    // notes are read one by one, a pause in typing first.
    static constexpr int kScanPauseMs = 150;

    TSearchFrm(qn::NoteSearch& search, QWidget* parent = nullptr);

    // Shows the window with the field focused and its text selected.
    void ShowSearch();
    // Asks for the day of the current line (the first line when none is).
    void OpenCurrent();
    // Runs a pending refinement now.
    void RefineNow();

    TSearchResults* results() const { return m_results; }

    QLineEdit* edtSearch = nullptr;
    QLabel* lblStatus = nullptr;
    QListView* lstResults = nullptr;

signals:
    // A line was chosen: its day key and the text searched for.
    void dayChosen(const QString& key, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TextEdited();
    void ShowStatus();

    qn::NoteSearch& m_search;
    TSearchResults* m_results = nullptr;
    QTimer* m_refine = nullptr;
};
