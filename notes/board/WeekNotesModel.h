#pragma once
// What the week board knows of the shown week's notes, and the notes the
// store has not taken yet. No widgets: the board shows it and reports edits.
//
// - A box whose note could not be read is unknown, not empty: it is never
//   written, and it is read again until it can be.
// - A note the store refuses (busy, disk full) or cannot take yet (the notes
//   file is still being checked) is held in memory under its day key, also
//   while another week is shown, and written with the next keystroke, after
//   the retry pause, or once the file has passed its check. A held note is
//   what its box shows when its week comes back.
// - After a write the store's log is copied into the file once typing has
//   paused, or right after a save that let it grow past a few megabytes.

#include "store/DayNote.h"
#include "store/StoreStatus.h"

#include <QObject>
#include <QString>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QTimer;
class TDM;

namespace qn {

struct WeekNotesTiming {
    int retryMs = 2000;            // a failed load or save is tried again after this pause
    int heldSignDelayMs = 1000;    // saves waiting for the file check show the sign after this long
    int checkpointPauseMs = 1500;  // the log is copied into the file once typing has paused this long
};

// The note of one box (0..5) of the shown week.
struct BoxNote {
    int box = 0;
    DayNote note;
};

class WeekNotesModel : public QObject {
    Q_OBJECT
public:
    static constexpr int kBoxes = 6;
    using WeekKeys = std::array<std::string, kBoxes>;

    explicit WeekNotesModel(TDM& dm, QObject* parent = nullptr);

    void SetTiming(const WeekNotesTiming& timing);
    const WeekNotesTiming& Timing() const { return m_timing; }

    // Shows the week of these keys: every box ends known (boxLoaded, with the
    // held note or the stored one) or unknown (boxUnknown).
    void LoadWeek(const WeekKeys& keys);
    const WeekKeys& Keys() const { return m_keys; }
    bool IsKnown(int box) const;

    // Whether a box's note has to be handed to Save: the box is known, and it
    // has changed since it was shown or handed over, or its row does not
    // hold it yet (the first save of a week creates all its rows).
    bool NeedsWrite(int box, bool changed) const;

    // Takes the notes of changed boxes (unknown boxes are ignored), then
    // tries to write everything held.
    void Save(std::vector<BoxNote> notes);
    // Tries to write everything held, now.
    void Flush();

    // The whole notes file has passed its check: the store is opened for
    // writing and what is held is written.
    void WholeFileChecked();

    bool HasUnsaved() const { return !m_held.empty(); }
    // Why the held notes are not stored, e.g. "数据库被占用".
    QString UnsavedReason() const;
    // Forgets the held notes (the user chose to end without them).
    void DiscardUnsaved();

    // The sign for the board: empty when nothing waits to be stored, else
    // "未保存：" and the reason.
    QString SignText() const { return m_sign; }

signals:
    void boxLoaded(int box, const std::optional<qn::DayNote>& note);
    void boxUnknown(int box);
    void signChanged(const QString& text);

private:
    enum class BoxState { Unread, Known, Unknown };
    struct Box {
        BoxState state = BoxState::Unread;
        bool accounted = false;  // its row or the held notes have what it shows
    };

    void ReadBoxes(const std::vector<int>& boxes);
    bool EnsureWritable();
    void WriteHeld();
    void ScheduleCheckpoint();
    void Retry();
    void UpdateRetry();
    void UpdateSign();
    bool AnyUnknown() const;

    TDM& m_dm;
    WeekNotesTiming m_timing;
    WeekKeys m_keys;
    std::array<Box, kBoxes> m_boxes{};
    std::map<std::string, DayNote> m_held;
    std::optional<StoreStatus> m_failure;  // why the last try to store failed
    bool m_writesAllowed = false;          // the file passed its check (or needed none)
    bool m_waitedLong = false;             // held saves have waited for the check long enough to show
    QString m_sign;
    QTimer* m_retryTimer = nullptr;
    QTimer* m_heldSignTimer = nullptr;
    QTimer* m_pauseCheckpoint = nullptr;
    QTimer* m_soonCheckpoint = nullptr;
};

}  // namespace qn
