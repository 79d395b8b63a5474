#include "WeekNotes.h"

#include "RtfStream.h"
#include "uDM.h"

#include <QTextDocument>
#include <QTextEdit>

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

}  // namespace

void SaveWeekBoxes(TDM& dm, const TWeekConArray& week, const NoteBoxes& boxes)
{
    std::array<BoxStream, 6> streams;
    for (size_t r = 0; r < boxes.size(); ++r) {
        const QTextDocument& doc = *boxes[r]->document();
        streams[r] = {WriteRtf(doc), PlainTextCrLf(doc)};
    }
    const bool inTransaction = dm.BeginTransaction();
    for (size_t r = 0; r < boxes.size(); ++r)
        SaveOneBox(dm, QString::fromStdString(week[r].DayKey), streams[r]);
    if (inTransaction && !dm.CommitTransaction())
        dm.RollbackTransaction();
}

void LoadWeekBoxes(TDM& dm, const TWeekConArray& week, const NoteBoxes& boxes)
{
    for (size_t i = 0; i < boxes.size(); ++i) {
        QTextEdit* box = boxes[i];
        const std::optional<bool> found = dm.LookupRow(QString::fromStdString(week[i].DayKey));
        if (!found) {
            for (size_t rest = i; rest < boxes.size(); ++rest)
                ShowEmpty(boxes[rest]);
            return;
        }
        const QByteArray content = *found ? dm.CurrentContent() : QByteArray();
        if (content.isEmpty()) {
            ShowEmpty(box);
            continue;
        }
        // Bytes that are not RTF still show, as plain text.
        ReadRtf(content, *box->document());
        // The loaded note is where undo starts: undo must never bring back
        // the previous week's text into this week's box.
        box->document()->clearUndoRedoStacks();
    }
}
