#include "notes/store/WeekNotes.h"

#include "notes/rtf/RtfStream.h"
#include "store/uDM.h"

#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

namespace {

struct BoxStream {
    QByteArray rtf;
    QString plain;
};

bool SaveOneBox(TDM& dm, const QString& key, const BoxStream& stream)
{
    std::optional<bool> found = dm.LookupRow(key);
    if (!found)
        return false;
    if (!*found) {
        if (!dm.InsertRow(key))
            return false;
        found = dm.LookupRow(key);
        if (!found || !*found)
            return false;
    }
    return dm.UpdateFirstRow(key, stream.rtf, stream.plain);
}

void ShowEmpty(QTextEdit* box)
{
    box->clear();
    box->document()->clearUndoRedoStacks();
}

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

void SaveWeekBoxes(TDM& dm, const TWeekConArray& week, const NoteBoxes& boxes, WeekStoreState* state)
{
    std::array<BoxStream, 6> streams;
    std::array<bool, 6> write{};
    for (size_t r = 0; r < boxes.size(); ++r) {
        write[r] = !UnchangedInStore(state, r, week[r].DayKey, boxes[r]);
        if (write[r]) {
            const QTextDocument& doc = *boxes[r]->document();
            streams[r] = {WriteRtf(doc), PlainTextCrLf(doc)};
        }
    }
    if (std::find(write.begin(), write.end(), true) == write.end())
        return;
    const bool inTransaction = dm.BeginTransaction();
    std::array<bool, 6> saved{};
    for (size_t r = 0; r < boxes.size(); ++r)
        if (write[r])
            saved[r] = SaveOneBox(dm, QString::fromStdString(week[r].DayKey), streams[r]);
    const bool committed = !inTransaction || dm.CommitTransaction();
    if (!committed)
        dm.RollbackTransaction();
    for (size_t r = 0; r < boxes.size(); ++r)
        if (write[r])
            Remember(state, r, week[r].DayKey, committed && saved[r], boxes[r]);
}

void LoadWeekBoxes(TDM& dm, const TWeekConArray& week, const NoteBoxes& boxes, WeekStoreState* state)
{
    for (size_t i = 0; i < boxes.size(); ++i) {
        QTextEdit* box = boxes[i];
        const std::string& key = week[i].DayKey;
        const std::optional<bool> found = dm.LookupRow(QString::fromStdString(key));
        if (!found) {
            for (size_t rest = i; rest < boxes.size(); ++rest) {
                ShowEmpty(boxes[rest]);
                Remember(state, rest, week[rest].DayKey, false, boxes[rest]);
            }
            return;
        }
        const QByteArray content = *found ? dm.CurrentContent() : QByteArray();
        if (content.isEmpty()) {
            ShowEmpty(box);
        } else {
            // Bytes that are not RTF still show, as plain text.
            ReadRtf(content, *box->document());
            // The loaded note is where undo starts: undo must never bring
            // back the previous week's text into this week's box.
            box->document()->clearUndoRedoStacks();
        }
        // A row without content has never held this box's text: write it.
        Remember(state, i, key, *found && !content.isEmpty(), box);
    }
}
