#pragma once
// The checks a notes file passes before the notebook writes to it. They run
// on read-only connections that change nothing on disk: not the file, not
// its write-ahead log (-wal), not the log's index (-shm). A log beside the
// file is read, never copied into it, until the file has passed.

#include "store/StoreStatus.h"

#include <QString>

#include <atomic>

struct sqlite3;

namespace qn {

// How to open a notes file read-only without changing anything beside it.
struct ReadOnlyAccess {
    QString uri;                   // for SQLITE_OPEN_URI
    bool createsLogIndex = false;  // SQLite will make the log's index: a log without one lies beside the file
};

// - A file in log mode with no log beside it: the file alone, without locks
//   (SQLite would otherwise make an empty log and index).
// - A log and its index: both read, the index never rebuilt.
// - A log without an index: the index has to be made to read the log.
// - Anything else (a file in rollback mode, or no database at all): plain
//   read-only, which respects another program's locks.
ReadOnlyAccess ReadOnlyAccessTo(const QString& path);

// The fast checks, on an open connection: tb_NewQN is a table (not a view)
// with the three note columns, carries no triggers, and every statement of
// the notebook prepares on it. The first query also tells whether the file
// is an SQLite database at all, and whether another program locks it.
StoreStatus CheckNotesTable(sqlite3* db);

// Every page of the file (PRAGMA quick_check), on a read-only connection of
// its own; safe on any thread. Setting *cancel ends it early (Failed).
StoreStatus CheckWholeFile(const QString& path, int busyTimeoutMs = 1000, const std::atomic<bool>* cancel = nullptr);

// The log's index, when the file is refused after a check made it.
void RemoveLogIndexMadeByCheck(const QString& path, const ReadOnlyAccess& access);

}  // namespace qn
