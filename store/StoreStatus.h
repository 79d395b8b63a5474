#pragma once
// What became of a store operation, in the terms the user can act on.

#include <QString>

namespace qn {

enum class StoreStatus {
    Ok,
    Busy,      // another program holds the database's lock
    DiskFull,  // no room left on the disk
    ReadOnly,  // the file or its folder cannot be written
    IoError,   // the disk reported an error
    Corrupt,   // the file is damaged
    Failed,    // any other error (a refused statement, a foreign schema)
};

// The status for an SQLite result code (primary or extended); SQLITE_OK,
// SQLITE_ROW and SQLITE_DONE are Ok.
StoreStatus StatusFromSqlite(int code);

// A short Chinese text for the status, e.g. "磁盘已满"; empty for Ok.
QString StatusText(StoreStatus status);

// The outcome of an operation and what it produced; value holds whatever was
// done before a failure (for example the notes read before an error).
template <typename T>
struct StoreResult {
    T value{};
    StoreStatus status = StoreStatus::Ok;
    bool ok() const { return status == StoreStatus::Ok; }
};

}  // namespace qn
