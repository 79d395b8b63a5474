#include "store/NoteStore.h"

#include "store/SqliteStatement.h"

#include <sqlite3.h>

namespace qn {
namespace {

constexpr std::string_view kLookupPrefix = " select * from tb_NewQN  where YearMonthStr = ";
constexpr std::string_view kInsertPrefix = "insert into  tb_NewQN(YearMonthStr) Values(";

constexpr std::string_view kLookupSql = " select * from tb_NewQN  where YearMonthStr = ?1";
constexpr std::string_view kInsertSql = "insert into  tb_NewQN(YearMonthStr) Values(?1)";
// The row the lookup returns first: the lookup walks the key's index, whose
// equal keys come in rowid order.
constexpr std::string_view kUpdateSql =
    "update tb_NewQN set Content = ?1, ContentBak = ?2 where rowid = "
    "(select rowid from tb_NewQN where YearMonthStr = ?3 limit 1)";
constexpr std::string_view kKeysSql =
    "select distinct YearMonthStr from tb_NewQN where YearMonthStr between ?1 and ?2 order by YearMonthStr";

QString Quoted(const QString& key)
{
    QString quoted = key;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString Latin(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

QString NoteStore::LookupStatement(const QString& key) { return Latin(kLookupPrefix) + Quoted(key); }

QString NoteStore::InsertStatement(const QString& key) { return Latin(kInsertPrefix) + Quoted(key) + QLatin1Char(')'); }

StoreStatus NoteStore::CheckStatements(sqlite3* db)
{
    for (std::string_view sql : {kLookupSql, kInsertSql, kUpdateSql, kKeysSql}) {
        const SqliteStatement statement(db, sql);
        if (statement.prepareResult() != SQLITE_OK)
            return StatusFromSqlite(statement.prepareResult());
    }
    return StoreStatus::Ok;
}

NoteStore::NoteStore(sqlite3* db) : m_db(db) { }

NoteStore::~NoteStore() = default;

SqliteStatement& NoteStore::Prepared(std::unique_ptr<SqliteStatement>& slot, std::string_view sql)
{
    // A statement that could not be prepared (the table was missing, say) is
    // tried again on the next use.
    if (!slot || slot->prepareResult() != SQLITE_OK)
        slot = std::make_unique<SqliteStatement>(m_db, sql);
    return *slot;
}

StoreStatus NoteStore::Exec(std::unique_ptr<SqliteStatement>& slot, std::string_view sql)
{
    SqliteStatement& statement = Prepared(slot, sql);
    StatementUse use(statement);
    return StatusFromSqlite(statement.step());
}

StoreResult<std::optional<DayNote>> NoteStore::Lookup(std::string_view key)
{
    SqliteStatement& lookup = Prepared(m_lookup, kLookupSql);
    StatementUse use(lookup);
    if (!lookup.bind(1, key))
        return {std::nullopt, StoreStatus::Failed};
    const int result = lookup.step();
    if (result == SQLITE_DONE)
        return {std::nullopt, StoreStatus::Ok};
    if (result != SQLITE_ROW)
        return {std::nullopt, StatusFromSqlite(result)};
    const int content = lookup.columnIndex("Content");
    const int contentBak = lookup.columnIndex("ContentBak");
    DayNote note;
    note.key = std::string(key);
    if (content >= 0)
        note.rtf = lookup.bytes(content);
    if (contentBak >= 0)
        note.plain = lookup.text(contentBak);
    return {std::move(note), StoreStatus::Ok};
}

StoreResult<std::optional<DayNote>> NoteStore::FindDay(std::string_view key) { return Lookup(key); }

StoreResult<std::vector<std::optional<DayNote>>> NoteStore::FindDays(std::span<const std::string> keys)
{
    StoreResult<std::vector<std::optional<DayNote>>> result;
    result.value.reserve(keys.size());
    const bool inTransaction = Exec(m_beginRead, "BEGIN") == StoreStatus::Ok;
    for (const std::string& key : keys) {
        StoreResult<std::optional<DayNote>> one = Lookup(key);
        if (!one.ok()) {
            result.status = one.status;
            break;
        }
        result.value.push_back(std::move(one.value));
    }
    if (inTransaction && Exec(m_commit, "COMMIT") != StoreStatus::Ok)
        Exec(m_rollback, "ROLLBACK");
    return result;
}

StoreStatus NoteStore::WriteOne(const DayNote& note)
{
    StoreResult<std::optional<DayNote>> found = Lookup(note.key);
    if (!found.ok())
        return found.status;
    if (!found.value) {
        SqliteStatement& insert = Prepared(m_insert, kInsertSql);
        StatementUse use(insert);
        if (!insert.bind(1, note.key))
            return StoreStatus::Failed;
        if (const int result = insert.step(); result != SQLITE_DONE)
            return StatusFromSqlite(result);
    }
    SqliteStatement& update = Prepared(m_update, kUpdateSql);
    StatementUse use(update);
    if (!update.bindBlob(1, note.rtf) || !update.bind(2, note.plain) || !update.bind(3, note.key))
        return StoreStatus::Failed;
    if (const int result = update.step(); result != SQLITE_DONE)
        return StatusFromSqlite(result);
    return sqlite3_changes(m_db) == 1 ? StoreStatus::Ok : StoreStatus::Failed;
}

StoreResult<std::vector<bool>> NoteStore::WriteDays(std::span<const DayNote> notes)
{
    StoreResult<std::vector<bool>> result;
    result.value.assign(notes.size(), false);
    if (notes.empty())
        return result;
    // Taking the write lock first means a busy database is met here, before
    // anything is read, and waits for the busy timeout.
    if (const StoreStatus begun = Exec(m_beginWrite, "BEGIN IMMEDIATE"); begun != StoreStatus::Ok) {
        result.status = begun;
        return result;
    }
    for (size_t i = 0; i < notes.size(); ++i) {
        const StoreStatus one = WriteOne(notes[i]);
        result.value[i] = one == StoreStatus::Ok;
        if (one == StoreStatus::Ok && m_dayWritten)
            m_dayWritten(notes[i]);
        if (one != StoreStatus::Ok && result.ok())
            result.status = one;
    }
    // Some errors (a full disk, an I/O error) roll the whole transaction back.
    const bool stillOpen = !sqlite3_get_autocommit(m_db);
    const StoreStatus committed =
        stillOpen ? Exec(m_commit, "COMMIT") : (result.ok() ? StoreStatus::Failed : result.status);
    if (committed != StoreStatus::Ok) {
        if (!sqlite3_get_autocommit(m_db))
            Exec(m_rollback, "ROLLBACK");
        result.value.assign(notes.size(), false);
        result.status = committed;
    }
    return result;
}

StoreResult<std::vector<std::string>> NoteStore::ListKeys(std::string_view from, std::string_view to)
{
    StoreResult<std::vector<std::string>> result;
    SqliteStatement& keys = Prepared(m_keys, kKeysSql);
    StatementUse use(keys);
    if (!keys.bind(1, from) || !keys.bind(2, to)) {
        result.status = StoreStatus::Failed;
        return result;
    }
    int step = SQLITE_ROW;
    while ((step = keys.step()) == SQLITE_ROW)
        result.value.push_back(keys.utf8(0));
    result.status = StatusFromSqlite(step);
    return result;
}

QString NoteStore::ExpandedLookup(std::string_view key)
{
    SqliteStatement& lookup = Prepared(m_lookup, kLookupSql);
    StatementUse use(lookup);
    lookup.bind(1, key);
    return lookup.expandedSql();
}

QString NoteStore::ExpandedInsert(std::string_view key)
{
    SqliteStatement& insert = Prepared(m_insert, kInsertSql);
    StatementUse use(insert);
    insert.bind(1, key);
    return insert.expandedSql();
}

}  // namespace qn
