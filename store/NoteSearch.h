#pragma once
// Search in the notes of the open notebook: through the full-text index while
// it is in step with the notes, by reading every note otherwise. Either way
// the answer is the same: the days whose note holds the text.
//
// It lives as long as the data module and follows its connection: on a
// read-only connection (the file not yet checked, or refused for writing)
// searches read the notes and nothing is written; on the writing connection
// the index follows every save and a keeper brings it in step in the
// background.

#include "store/DayNote.h"
#include "store/SearchIndex.h"
#include "store/SearchKeeper.h"

#include <QString>

#include <memory>

struct sqlite3;

namespace qn {

class NoteSearch {
public:
    explicit NoteSearch(QString databasePath);
    ~NoteSearch();
    NoteSearch(const NoteSearch&) = delete;
    NoteSearch& operator=(const NoteSearch&) = delete;

    // The connection searches run on from now on. keepIndex: the index
    // follows every save and is brought in step in the background; else it
    // is left alone and searches read the notes.
    void Attach(sqlite3* db, bool keepIndex);
    // Before the connection closes: the keeper stops, the statements end.
    void Detach();

    // A note was stored: its day's index entry follows, inside the same
    // transaction. A failure leaves the index as it was and stops trusting
    // it until it has been brought in step again.
    void DayWritten(const DayNote& note);

    // The days whose note holds text, newest first, older than beforeDay
    // (YYYYMMDD; 0: from the newest), at most limit (<= 0: all).
    StoreResult<SearchPage> Find(const QString& text, int limit, int beforeDay = 0);

    // Brings the index in step in the background (again); nothing on a
    // connection that keeps no index.
    void KeepInStep();
    void StopKeeping();
    bool IndexInStep() const;
    // Waits until the keeper is done, at most timeoutMs; true when it is.
    bool WaitForKeeper(int timeoutMs);
    // While notes wait in memory for the store, the keeper takes no write
    // lock: a retried save never meets the keeper's.
    void SetSavesWaiting(bool waiting);

private:
    sqlite3* m_db = nullptr;
    bool m_keepIndex = false;
    std::unique_ptr<SearchIndex> m_index;
    SearchKeeper m_keeper;
    bool m_failed = false;  // the index missed a save since the keeper last ran
};

}  // namespace qn
