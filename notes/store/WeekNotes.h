#pragma once
// The six note boxes of the shown week to and from stored notes. Box r
// (0..5) belongs to ShownWeek slot r; the sixth box holds the shared
// Saturday/Sunday note under Saturday's key.

#include "core/uGlobal.h"
#include "store/DayNote.h"

#include <array>
#include <optional>
#include <string>

class QTextDocument;
class QTextEdit;

namespace qn {
class NoteStore;
}

using NoteBoxes = std::array<QTextEdit*, 6>;

// What each box holds compared with the store: the key whose row holds the
// box's current content, if any. A save skips a box that has not changed
// since it was last saved or loaded under the same key, and whose row is
// known to exist; what ends up stored is the same, at a fraction of the work
// on every keystroke. The boxes' documents' modified flags are part of it.
struct WeekStoreState {
    struct Box {
        std::string key;       // the row last written or read for the box
        bool inStore = false;  // that row exists and holds the box's content
    };
    std::array<Box, 6> boxes;
};

// The note a box holds, to be stored under key.
qn::DayNote NoteFromBox(const std::string& key, const QTextDocument& box);

// Shows a stored note in a box (nothing, or a row without content: an empty
// box). Undo starts at the loaded note.
void ShowNoteInBox(const std::optional<qn::DayNote>& note, QTextEdit& box);

// Writes all six boxes under the keys of week slots 0..5, creating missing
// rows, in one transaction. With a state, unchanged boxes are skipped. A box
// whose statements fail is skipped silently; the others are still saved.
void SaveWeekBoxes(qn::NoteStore& store, const TWeekConArray& week, const NoteBoxes& boxes,
                   WeekStoreState* state = nullptr);

// Fills the six boxes from the rows of week slots 0..5. A missing row or an
// empty Content gives an empty box. When a lookup fails, loading stops and
// every box not yet loaded is emptied, so that no box keeps another week's
// note that a later save would store under this week's keys.
void LoadWeekBoxes(qn::NoteStore& store, const TWeekConArray& week, const NoteBoxes& boxes,
                   WeekStoreState* state = nullptr);
