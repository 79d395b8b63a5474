#pragma once
// Search in the notes of the open notebook: through the full-text index while
// it is in step with the notes, by reading every note otherwise. Either way
// the answer is the same: the days whose note holds the text.

#include "store/DayNote.h"
#include "store/SearchIndex.h"
#include "store/SearchKeeper.h"

#include <QString>

struct sqlite3;

namespace qn {

class NoteSearch {
public:
    NoteSearch(sqlite3* db, const QString& databasePath);
    ~NoteSearch();
    NoteSearch(const NoteSearch&) = delete;
    NoteSearch& operator=(const NoteSearch&) = delete;

    // A note was stored: its day's index entry follows, inside the same
    // transaction. A failure leaves the index as it was and stops trusting
    // it until it has been brought in step again.
    void DayWritten(const DayNote& note);

    // The days whose note holds text, newest first, older than beforeDay
    // (YYYYMMDD; 0: from the newest), at most limit (<= 0: all).
    StoreResult<SearchPage> Find(const QString& text, int limit, int beforeDay = 0);

    // Brings the index in step in the background (again).
    void KeepInStep();
    void StopKeeping();
    bool IndexInStep() const;
    // Waits until the keeper is done, at most timeoutMs; true when it is.
    bool WaitForKeeper(int timeoutMs);

private:
    sqlite3* m_db;
    SearchIndex m_index;
    SearchKeeper m_keeper;
    bool m_failed = false;  // the index missed a save since the keeper last ran
};

}  // namespace qn
