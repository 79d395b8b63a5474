#pragma once
// The data module: the one connection to the notes database Data/UserData.mdb
// (an SQLite file), its checks and schema version, and the stored notes on it.
//
// Table tb_NewQN(YearMonthStr, Content, ContentBak): one row per day key
// "YYYYMMDD"; Content holds the note as RTF bytes, ContentBak as plain text.

#include "core/ProgramFolder.h"
#include "store/NoteSearch.h"
#include "store/NoteStore.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>

class QWidget;

class TDM {
public:
    explicit TDM(const qn::ProgramFolder& folder);
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Opens the database, creating the file and its table when the file is
    // missing. A file that exists but is not a usable notes database is never
    // modified; then "配置文件加载失败，请重试！" is shown and the result is false.
    // Once the checks have passed the schema is brought to the current
    // version; tb_NewQN itself is never changed.
    // reportFailure false: the caller tells the user (and may offer a backup).
    bool ConnectDatabase(QWidget* messageParent = nullptr, bool reportFailure = true);

    // The stored notes; only after ConnectDatabase returned true.
    qn::NoteStore& Notes() { return *m_notes; }
    // Search in the notes; only after ConnectDatabase returned true.
    qn::NoteSearch& Search() { return *m_search; }
    // How many notes were written since the database was opened (for the
    // daily backup: a day without any writes needs none).
    quint64 NotesWritten() const { return m_notesWritten; }

    // Copies the write-ahead log back into the database file, without waiting
    // for anyone. Cheap when there is nothing to copy.
    bool Checkpoint();
    static constexpr int kCheckpointSafetyPages = 16384;

    QString databasePath() const { return m_path; }
    QSqlDatabase& AdoCon() { return m_db; }

private:
    bool CreateDatabaseFile();
    void AttachSearch(sqlite3* handle);
    bool OpenAndCheck();
    void Close();

    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_db;
    std::unique_ptr<qn::NoteStore> m_notes;
    std::unique_ptr<qn::NoteSearch> m_search;
    quint64 m_notesWritten = 0;
};
