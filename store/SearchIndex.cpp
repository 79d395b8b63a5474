#include "store/SearchIndex.h"

#include "store/SqliteStatement.h"

#include <sqlite3.h>

namespace qn {
namespace {

constexpr std::string_view kStatements[] = {kSearchTableSql, kSearchDaysSql};

constexpr std::string_view kHashOfSql = "SELECT text_hash FROM qn_search_days WHERE day = ?1";
constexpr std::string_view kSavepointSql = "SAVEPOINT qn_search_entry";
constexpr std::string_view kReleaseSql = "RELEASE qn_search_entry";
constexpr std::string_view kRollbackToSql = "ROLLBACK TO qn_search_entry";
constexpr std::string_view kDeleteSql = "DELETE FROM qn_search WHERE rowid = ?1";
constexpr std::string_view kInsertSql = "INSERT INTO qn_search (rowid, body) VALUES (?1, ?2)";
constexpr std::string_view kRecordSql = "INSERT OR REPLACE INTO qn_search_days (day, text_hash) VALUES (?1, ?2)";
constexpr std::string_view kForgetSql = "DELETE FROM qn_search_days WHERE day = ?1";
constexpr std::string_view kMatchSql =
    "SELECT rowid, body FROM qn_search WHERE qn_search MATCH ?1 AND rowid > ?2 ORDER BY rowid LIMIT ?3";

// Every row of a day key from the newest key down; within a key the first
// row (the one the notebook reads) comes last.
constexpr std::string_view kScanSql =
    "SELECT YearMonthStr, ContentBak FROM tb_NewQN WHERE YearMonthStr >= '00010101' AND YearMonthStr < ?1 "
    "ORDER BY YearMonthStr DESC, rowid DESC";

SqliteStatement& Prepared(sqlite3* db, std::unique_ptr<SqliteStatement>& slot, std::string_view sql)
{
    // A statement that could not be prepared (a missing table) is tried
    // again on the next use.
    if (!slot || slot->prepareResult() != SQLITE_OK)
        slot = std::make_unique<SqliteStatement>(db, sql);
    return *slot;
}

StoreStatus Done(int result) { return result == SQLITE_DONE ? StoreStatus::Ok : StatusFromSqlite(result); }

// Adds the day when its note holds the folded text; false once the page is
// full (one hit more than the limit tells that there are more).
bool Consider(SearchPage& page, int limit, std::string_view key, const QByteArray& utf8, const QString& text,
              const QString& folded)
{
    if (!DayNumberOfKey(key))
        return true;
    const QString plain = QString::fromUtf8(utf8);
    if (!FoldForSearch(plain).contains(folded))
        return true;
    if (limit > 0 && static_cast<int>(page.hits.size()) == limit) {
        page.more = true;
        return false;
    }
    page.hits.push_back({std::string(key), MakeSnippet(plain, text)});
    return true;
}

}  // namespace

std::span<const std::string_view> SearchIndexStatements() { return kStatements; }

std::int64_t SearchTextHash(std::string_view utf8)
{
    // 64-bit FNV-1a: cheap, and a collision between two versions of one
    // day's note is out of reach.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : utf8) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return static_cast<std::int64_t>(hash);
}

QString SearchPhrase(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    // A query ends at a NUL; the tokenizer reads NUL as U+FFFD anyway, and
    // the hits are checked against the text itself.
    quoted.replace(QChar(0), QChar(0xFFFD));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

SearchIndex::SearchIndex(sqlite3* db) : m_db(db) { }

SearchIndex::~SearchIndex() = default;

StoreStatus SearchIndex::Step(std::unique_ptr<SqliteStatement>& slot, std::string_view sql)
{
    SqliteStatement& statement = Prepared(m_db, slot, sql);
    StatementUse use(statement);
    return Done(statement.step());
}

StoreStatus SearchIndex::Put(int day, std::string_view utf8)
{
    const std::int64_t hash = SearchTextHash(utf8);
    {
        SqliteStatement& hashOf = Prepared(m_db, m_hashOf, kHashOfSql);
        StatementUse use(hashOf);
        if (!hashOf.bindInt64(1, day))
            return StoreStatus::Failed;
        const int result = hashOf.step();
        if (result == SQLITE_ROW && hashOf.int64(0) == hash)
            return StoreStatus::Ok;
        if (result != SQLITE_ROW && result != SQLITE_DONE)
            return StatusFromSqlite(result);
    }
    if (const StoreStatus begun = Step(m_savepoint, kSavepointSql); begun != StoreStatus::Ok)
        return begun;
    const StoreStatus replaced = Replace(day, utf8, hash);
    if (replaced != StoreStatus::Ok && !sqlite3_get_autocommit(m_db))
        Step(m_rollbackTo, kRollbackToSql);
    // Released on every path: after a rollback to it the savepoint is
    // still open.
    if (!sqlite3_get_autocommit(m_db))
        Step(m_release, kReleaseSql);
    return replaced;
}

StoreStatus SearchIndex::Replace(int day, std::string_view utf8, std::int64_t hash)
{
    const long long rowid = kNewestFirst - day;
    {
        SqliteStatement& remove = Prepared(m_db, m_delete, kDeleteSql);
        StatementUse use(remove);
        if (!remove.bindInt64(1, rowid))
            return StoreStatus::Failed;
        if (const StoreStatus status = Done(remove.step()); status != StoreStatus::Ok)
            return status;
    }
    {
        SqliteStatement& insert = Prepared(m_db, m_insert, kInsertSql);
        StatementUse use(insert);
        if (!insert.bindInt64(1, rowid) || !insert.bind(2, utf8))
            return StoreStatus::Failed;
        if (const StoreStatus status = Done(insert.step()); status != StoreStatus::Ok)
            return status;
    }
    SqliteStatement& record = Prepared(m_db, m_record, kRecordSql);
    StatementUse use(record);
    if (!record.bindInt64(1, day) || !record.bindInt64(2, hash))
        return StoreStatus::Failed;
    return Done(record.step());
}

StoreStatus SearchIndex::Remove(int day)
{
    if (const StoreStatus begun = Step(m_savepoint, kSavepointSql); begun != StoreStatus::Ok)
        return begun;
    StoreStatus status = StoreStatus::Ok;
    {
        SqliteStatement& remove = Prepared(m_db, m_delete, kDeleteSql);
        StatementUse use(remove);
        status = remove.bindInt64(1, kNewestFirst - day) ? Done(remove.step()) : StoreStatus::Failed;
    }
    if (status == StoreStatus::Ok) {
        SqliteStatement& forget = Prepared(m_db, m_forget, kForgetSql);
        StatementUse use(forget);
        status = forget.bindInt64(1, day) ? Done(forget.step()) : StoreStatus::Failed;
    }
    if (status != StoreStatus::Ok && !sqlite3_get_autocommit(m_db))
        Step(m_rollbackTo, kRollbackToSql);
    if (!sqlite3_get_autocommit(m_db))
        Step(m_release, kReleaseSql);
    return status;
}

StoreResult<SearchPage> SearchIndex::Query(const QString& typed, int limit, int beforeDay)
{
    const QString text = AsStored(typed);
    StoreResult<SearchPage> result;
    result.value.fromIndex = true;
    if (text.isEmpty())
        return result;
    const QString folded = FoldForSearch(text);
    SqliteStatement& match = Prepared(m_db, m_match, kMatchSql);
    StatementUse use(match);
    if (!match.bind(1, SearchPhrase(text)) || !match.bindInt64(2, beforeDay > 0 ? kNewestFirst - beforeDay : 0)
        || !match.bindInt64(3, limit > 0 ? limit + 1 : -1)) {
        result.status = StoreStatus::Failed;
        return result;
    }
    int step = SQLITE_ROW;
    while ((step = match.step()) == SQLITE_ROW) {
        const std::string key = KeyOfDayNumber(static_cast<int>(kNewestFirst - match.int64(0)));
        if (!Consider(result.value, limit, key, match.bytes(1), text, folded))
            break;
    }
    if (step != SQLITE_ROW)
        result.status = StatusFromSqlite(step);
    return result;
}

StoreResult<SearchPage> ScanNotes(sqlite3* db, const QString& typed, int limit, int beforeDay)
{
    const QString text = AsStored(typed);
    StoreResult<SearchPage> result;
    if (text.isEmpty())
        return result;
    const QString folded = FoldForSearch(text);
    SqliteStatement scan(db, kScanSql);
    const std::string upper = beforeDay > 0 ? KeyOfDayNumber(beforeDay) : std::string("99991232");
    if (!scan.bind(1, upper)) {
        result.status =
            scan.prepareResult() == SQLITE_OK ? StoreStatus::Failed : StatusFromSqlite(scan.prepareResult());
        return result;
    }
    // The rows of one key arrive together, the first row last.
    std::string key;
    QByteArray firstRow;
    bool haveKey = false;
    int step = SQLITE_ROW;
    while ((step = scan.step()) == SQLITE_ROW) {
        std::string rowKey = scan.utf8(0);
        if (haveKey && rowKey != key && !Consider(result.value, limit, key, firstRow, text, folded)) {
            haveKey = false;
            break;
        }
        key = std::move(rowKey);
        firstRow = scan.bytes(1);
        haveKey = true;
    }
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        result.status = StatusFromSqlite(step);
        return result;
    }
    if (haveKey)
        Consider(result.value, limit, key, firstRow, text, folded);
    return result;
}

}  // namespace qn
