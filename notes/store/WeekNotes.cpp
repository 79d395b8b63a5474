#include "notes/store/WeekNotes.h"

#include "notes/rtf/RtfStream.h"
#include "store/NoteStore.h"

#include <QTextDocument>
#include <QTextEdit>

#include <vector>

namespace {

bool UnchangedInStore(const WeekStoreState* state, size_t r, const std::string& key, const QTextEdit* box)
{
    return state && state->boxes[r].inStore && state->boxes[r].key == key && !box->document()->isModified();
}

void Remember(WeekStoreState* state, size_t r, const std::string& key, bool inStore, QTextEdit* box)
{
    if (!state)
        return;
    state->boxes[r] = {key, inStore};
    if (inStore)
        box->document()->setModified(false);
}

}  // namespace

qn::DayNote NoteFromBox(const std::string& key, const QTextDocument& box)
{
    return {key, WriteRtf(box), PlainTextCrLf(box)};
}

void ShowNoteInBox(const std::optional<qn::DayNote>& note, QTextEdit& box)
{
    if (!note || note->rtf.isEmpty())
        box.clear();
    else
        ReadRtf(note->rtf, *box.document());  // bytes that are not RTF still show, as plain text
    // The loaded note is where undo starts: undo must never bring back the
    // previous week's text into this week's box.
    box.document()->clearUndoRedoStacks();
}

void SaveWeekBoxes(qn::NoteStore& store, const TWeekConArray& week, const NoteBoxes& boxes, WeekStoreState* state)
{
    std::vector<qn::DayNote> notes;
    std::vector<size_t> boxOfNote;
    for (size_t r = 0; r < boxes.size(); ++r) {
        if (UnchangedInStore(state, r, week[r].DayKey, boxes[r]))
            continue;
        notes.push_back(NoteFromBox(week[r].DayKey, *boxes[r]->document()));
        boxOfNote.push_back(r);
    }
    if (notes.empty())
        return;
    const qn::StoreResult<std::vector<bool>> written = store.WriteDays(notes);
    for (size_t i = 0; i < notes.size(); ++i)
        Remember(state, boxOfNote[i], notes[i].key, written.value[i], boxes[boxOfNote[i]]);
}

void LoadWeekBoxes(qn::NoteStore& store, const TWeekConArray& week, const NoteBoxes& boxes, WeekStoreState* state)
{
    std::vector<std::string> keys;
    for (size_t i = 0; i < boxes.size(); ++i)
        keys.push_back(week[i].DayKey);
    const qn::StoreResult<std::vector<std::optional<qn::DayNote>>> found = store.FindDays(keys);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const bool read = i < found.value.size();
        const std::optional<qn::DayNote> none;
        const std::optional<qn::DayNote>& note = read ? found.value[i] : none;
        ShowNoteInBox(note, *boxes[i]);
        // A row without content has never held this box's text: write it.
        Remember(state, i, keys[i], read && note && !note->rtf.isEmpty(), boxes[i]);
    }
}
