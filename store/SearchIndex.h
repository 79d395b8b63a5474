#pragma once
// The full-text index of the notes beside tb_NewQN, and the search over it or,
// when the index cannot be trusted, over the notes themselves.
//
// qn_search (FTS5, tokenizer qn_chars) holds the plain text of every day
// note: the first row of each day key, as the notebook reads it. Its rowid
// orders the days newest first (kNewestFirst - YYYYMMDD), so the first hits
// come first off the index. qn_search_days records, per day, a hash of the
// text the index holds; comparing it with the notes tells which days are
// out of step. Both change together, inside the transaction of each save.

#include "store/SearchText.h"
#include "store/StoreStatus.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace qn {

class SqliteStatement;

// The statements that make the index's tables. columnsize=0: the index
// serves matching only, never ranking.
inline constexpr std::string_view kSearchTableSql =
    "CREATE VIRTUAL TABLE IF NOT EXISTS qn_search USING fts5(body, tokenize = 'qn_chars', detail = full, "
    "columnsize = 0)";
inline constexpr std::string_view kSearchDaysSql =
    "CREATE TABLE IF NOT EXISTS qn_search_days (day INTEGER PRIMARY KEY, text_hash INTEGER NOT NULL)";
std::span<const std::string_view> SearchIndexStatements();

// The hash recorded for a note's text (its UTF-8 bytes as stored).
std::int64_t SearchTextHash(std::string_view utf8);

struct SearchHit {
    std::string key;  // the day's key; the shared weekend note is under Saturday's
    Snippet snippet;
    friend bool operator==(const SearchHit& a, const SearchHit& b) { return a.key == b.key; }
};

struct SearchPage {
    std::vector<SearchHit> hits;  // newest first
    bool more = false;            // more days hold the text than were asked for
    bool fromIndex = false;       // answered by the index (else by reading every note)
};

class SearchIndex {
public:
    static constexpr int kNewestFirst = 100000000;

    explicit SearchIndex(sqlite3* db);
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // Replaces the entry of day (YYYYMMDD) with text, inside the caller's
    // transaction; nothing is done when the index already holds that text.
    // On a failure the index is as it was.
    StoreStatus Put(int day, std::string_view utf8);
    StoreStatus Remove(int day);

    // The days whose note holds text, newest first, older than beforeDay
    // (0: from the newest), at most limit of them (limit <= 0: all).
    StoreResult<SearchPage> Query(const QString& text, int limit, int beforeDay = 0);

private:
    StoreStatus Replace(int day, std::string_view utf8, std::int64_t hash);
    StoreStatus Step(std::unique_ptr<SqliteStatement>& slot, std::string_view sql);

    sqlite3* m_db;
    std::unique_ptr<SqliteStatement> m_hashOf;
    std::unique_ptr<SqliteStatement> m_savepoint;
    std::unique_ptr<SqliteStatement> m_release;
    std::unique_ptr<SqliteStatement> m_rollbackTo;
    std::unique_ptr<SqliteStatement> m_delete;
    std::unique_ptr<SqliteStatement> m_insert;
    std::unique_ptr<SqliteStatement> m_record;
    std::unique_ptr<SqliteStatement> m_forget;
    std::unique_ptr<SqliteStatement> m_match;
};

// The same answer as SearchIndex::Query, found by reading the notes
// themselves: the first row of every day key.
StoreResult<SearchPage> ScanNotes(sqlite3* db, const QString& text, int limit, int beforeDay = 0);

// The FTS5 query for a search text: the whole text as one phrase.
QString SearchPhrase(const QString& text);

}  // namespace qn
