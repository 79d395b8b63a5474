#pragma once
// The stored notes as values: find a day, find a week, write a week in one
// transaction, list the keys of a range. Each operation has a prepared
// statement of its own on the notes connection; none leaves a result open
// for the next one.
//
// Rows of tb_NewQN are looked up by their day key; keys may repeat in a file
// written by another program, and then the first row the lookup returns is
// the one read and written.

#include "store/DayNote.h"
#include "store/StoreStatus.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace qn {

class SqliteStatement;

class NoteStore {
public:
    // The exact statement texts, for a key: the lookup and the row creation.
    // The prepared statements run exactly these texts with the key bound.
    static QString LookupStatement(const QString& key);
    static QString InsertStatement(const QString& key);

    // Whether every statement of the notebook prepares on db: the notes
    // table takes lookups, new rows and updates by row number.
    static StoreStatus CheckStatements(sqlite3* db);

    explicit NoteStore(sqlite3* db);
    ~NoteStore();
    NoteStore(const NoteStore&) = delete;
    NoteStore& operator=(const NoteStore&) = delete;

    // The note stored under key; nothing when no row has the key.
    StoreResult<std::optional<DayNote>> FindDay(std::string_view key);

    // The notes of the keys, in order, read in one consistent view. On an
    // error the value holds the notes read before it.
    StoreResult<std::vector<std::optional<DayNote>>> FindDays(std::span<const std::string> keys);

    // Writes every note under its key in one transaction, creating the rows
    // that are missing. value[i] tells whether note i is stored. A note whose
    // own statements fail is left out and the others are still written; the
    // status is then that note's failure. When the transaction itself fails
    // nothing is stored.
    StoreResult<std::vector<bool>> WriteDays(std::span<const DayNote> notes);

    // Called inside WriteDays's transaction after each note is stored, so that
    // what follows the notes (the search index) changes with them.
    void SetDayWritten(std::function<void(const DayNote&)> dayWritten) { m_dayWritten = std::move(dayWritten); }

    // The distinct keys from..to (inclusive, as text), in order.
    StoreResult<std::vector<std::string>> ListKeys(std::string_view from, std::string_view to);

    // The statements as SQLite runs them for key, with the key written in
    // (for the tests of the exact texts).
    QString ExpandedLookup(std::string_view key);
    QString ExpandedInsert(std::string_view key);

private:
    SqliteStatement& Prepared(std::unique_ptr<SqliteStatement>& slot, std::string_view sql);
    StoreStatus Exec(std::unique_ptr<SqliteStatement>& slot, std::string_view sql);
    StoreResult<std::optional<DayNote>> Lookup(std::string_view key);
    StoreStatus WriteOne(const DayNote& note);

    sqlite3* m_db;
    std::function<void(const DayNote&)> m_dayWritten;
    std::unique_ptr<SqliteStatement> m_lookup;
    std::unique_ptr<SqliteStatement> m_insert;
    std::unique_ptr<SqliteStatement> m_update;
    std::unique_ptr<SqliteStatement> m_keys;
    std::unique_ptr<SqliteStatement> m_beginRead;
    std::unique_ptr<SqliteStatement> m_beginWrite;
    std::unique_ptr<SqliteStatement> m_commit;
    std::unique_ptr<SqliteStatement> m_rollback;
};

}  // namespace qn
