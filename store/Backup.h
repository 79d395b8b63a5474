#pragma once
// Copies of the notes database in Data/Backup/: written through SQLite as a
// consistent snapshot (never a copy of the live file), owner-only, named by
// the date and time they were made, UserData-2024-05-01_10-30-15.mdb. Of
// all copies the newest of each of the last 7 days, 4 weeks and 12 months
// that have one are kept, and every copy of the last 24 hours.
//
// Also: restoring a copy into the open database, and, when the database
// cannot be opened at all, setting the damaged file aside unchanged and
// putting a sound copy in its place.

#include "store/StoreStatus.h"

#include <QDateTime>
#include <QString>

#include <vector>

struct sqlite3;

namespace qn {

struct BackupCopy {
    QString path;
    QDateTime made;  // local time, from the name
    qint64 bytes = 0;
    int sequence = 1;  // 2, 3 ... for further copies made in the same second
};

// Data/Backup/ beside the database file.
QString BackupFolderOf(const QString& databasePath);

// The copies in the backup folder, newest first.
std::vector<BackupCopy> ListBackups(const QString& databasePath);

struct BackupOutcome {
    QString path;   // the copy written
    QString error;  // why none was written (Chinese, for the user)
    bool ok() const { return error.isEmpty(); }
};

// Writes a copy of the database as it is now, named by now, then drops the
// copies the keep rules no longer hold (never the one just written). Works
// while the notebook has the database open: it only reads.
BackupOutcome WriteBackup(const QString& databasePath, const QDateTime& now);

// For copies made at the given times (newest first): which ones the keep
// rules hold.
std::vector<bool> CopiesToKeep(const std::vector<QDateTime>& newestFirst);
// Deletes the copies the keep rules do not hold.
void PruneBackups(const QString& databasePath);

// Before the schema of an older file is brought up to date: a copy of it,
// when it holds any notes. True when the migration may go ahead (no
// migration due, no notes, or the copy was written).
bool BackupBeforeMigration(sqlite3* db, const QString& databasePath);

// A file SQLite reads in full (integrity_check) that holds the notes table.
bool IsSoundNotesFile(const QString& path);
// A file that exists but is not a readable notes database: not a database,
// damaged, or without the notes table. A file that is only locked or that
// the user may not read is not damaged.
bool IsDamagedNotesFile(const QString& path);
// The days whose note holds any text, or -1 when the file cannot be read.
int DaysWithNotes(const QString& path);

// Replaces everything in the open database with the copy's content, in one
// transaction through SQLite (other readers see the old or the new notes,
// never a mixture). The connection must have no transaction open.
StoreStatus RestoreInto(sqlite3* live, const QString& copyPath);

// Renames the damaged database file, with its log files, to
// UserData-damaged-<date and time>.mdb beside it, without changing a byte.
// Returns the new name, or an empty string (and error) when it could not.
QString SetDamagedFileAside(const QString& databasePath, const QDateTime& now, QString* error);
// Makes a new database file at databasePath (which must not exist) from the
// copy.
bool InstallCopy(const QString& copyPath, const QString& databasePath, QString* error);

}  // namespace qn
