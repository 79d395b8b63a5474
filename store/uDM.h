#pragma once
// The data module: the one connection to the notes database Data/UserData.mdb
// (an SQLite file), its checks and schema version, and the stored notes on it.
//
// Table tb_NewQN(YearMonthStr, Content, ContentBak): one row per day key
// "YYYYMMDD"; Content holds the note as RTF bytes, ContentBak as plain text.
//
// The file, its write-ahead log UserData.mdb-wal and the log's index
// UserData.mdb-shm belong together. Nothing writes to them until the file has
// passed its checks, which run on read-only connections: a refused file, its
// log and the index keep every byte.

#include "core/ProgramFolder.h"
#include "store/FileChecks.h"
#include "store/NoteSearch.h"
#include "store/NoteStore.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>

class QWidget;

class TDM {
public:
    // How long an operation waits for another program's lock.
    static constexpr int kBusyTimeoutMs = 1000;
    // The log is copied into the file right after a save that let it grow
    // past this, also while the user types without a pause.
    static constexpr qint64 kCheckpointSoonBytes = 4 * 1024 * 1024;
    // A log that has been copied is cut back to this size when it starts over.
    static constexpr qint64 kLogSizeLimitBytes = 4 * 1024 * 1024;
    // Only a guard for a log nobody copies: the save that makes it this long
    // copies it itself.
    static constexpr int kCheckpointSafetyPages = 16384;

    explicit TDM(const qn::ProgramFolder& folder);
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Opens the database in one go: the steps below, with the whole file
    // checked in between. A missing file is created with its table. A file
    // that is not a usable notes database is never modified; then
    // "配置文件加载失败，请重试！" is shown and the result is false. Once the
    // checks have passed the schema is brought to the current version and
    // the lookup index made; tb_NewQN itself is never changed.
    // reportFailure false: the caller tells the user (and may offer a backup).
    bool ConnectDatabase(QWidget* messageParent = nullptr, bool reportFailure = true);

    // --- opening in steps: the program shows its window in between ---------------------
    // Creates a missing file, then runs the fast checks on a read-only
    // connection, which serves the reads from then on. An unusable file gets
    // the message above and false, and nothing on disk changes.
    bool OpenForReading(QWidget* messageParent = nullptr, bool reportFailure = true);
    // Once the whole file has passed qn::CheckWholeFile: the connection for
    // writing (write-ahead log, schema version, lookup index). Ok when it is
    // open already; on a failure the reads go on read-only.
    qn::StoreStatus OpenForWriting();
    bool AcceptsWrites() const { return m_writable; }
    // Closes the connection, before the file is set aside or replaced.
    // Notes() serves again after the next open.
    void Close();

    // The stored notes; only after a successful open.
    qn::NoteStore& Notes() { return *m_notes; }
    // Search in the notes, on whichever connection is open: through the
    // index once the file takes writes, by reading the notes before.
    qn::NoteSearch& Search() { return m_search; }
    // How many notes were written since the database was opened (for the
    // daily backup: a day without any writes needs none).
    quint64 NotesWritten() const { return m_notesWritten; }
    // Notes wait in memory because the store refused them or cannot take
    // them yet: the index keeper and the backups hold back meanwhile.
    void SetSavesHeld(bool held);
    bool SavesHeld() const { return m_savesHeld; }

    // Copies the write-ahead log back into the database file, without waiting
    // for anyone. Cheap when there is nothing to copy.
    bool Checkpoint();
    // How much of the log has not been copied into the file yet.
    qint64 LogBytes() const { return static_cast<qint64>(m_logPages) * m_pageSize; }
    qint64 CheckpointSoonBytes() const { return m_checkpointSoonBytes; }
    void SetCheckpointSoonBytes(qint64 bytes) { m_checkpointSoonBytes = bytes; }

    int BusyTimeout() const { return m_busyTimeoutMs; }
    void SetBusyTimeout(int ms);

    QString databasePath() const { return m_path; }
    // The connection in use: read-only until OpenForWriting.
    QSqlDatabase& AdoCon() { return m_db; }

private:
    bool CreateDatabaseFile();
    qn::StoreStatus OpenReadOnly();
    qn::StoreStatus OpenWritable();
    void Refuse(QWidget* messageParent, bool reportFailure);
    static int OnLogCommit(void* self, sqlite3* db, const char* name, int pages);

    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_db;
    std::unique_ptr<qn::NoteStore> m_notes;
    qn::ReadOnlyAccess m_readAccess;
    bool m_writable = false;
    int m_busyTimeoutMs = kBusyTimeoutMs;
    qint64 m_checkpointSoonBytes = kCheckpointSoonBytes;
    int m_logPages = 0;
    int m_pageSize = 4096;
    qn::NoteSearch m_search;
    quint64 m_notesWritten = 0;
    bool m_savesHeld = false;
};
