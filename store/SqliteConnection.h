#pragma once
// A connection of its own to a database file, for work beside the
// notebook's connection: a backup, a check of a copy, the command line, the
// index keeper. Closed when it goes.

#include <QString>

struct sqlite3;

namespace qn {

class SqliteConnection {
public:
    enum class Mode { ReadOnly, ReadWrite };

    // Opens an existing file; never creates one.
    SqliteConnection(const QString& path, Mode mode, int busyTimeoutMs = 5000);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    sqlite3* handle() const { return m_db; }
    // SQLITE_OK when the file could be opened.
    int openResult() const { return m_openResult; }
    bool isOpen() const { return m_openResult == 0 && m_db; }

    // Runs a statement to its end; the SQLite result (SQLITE_DONE, or the
    // error's extended code).
    int Execute(const char* sql);
    // The first column of the first row as text; empty when there is none.
    QString QueryText(const char* sql, int* result = nullptr);

private:
    sqlite3* m_db = nullptr;
    int m_openResult = 0;
};

}  // namespace qn
