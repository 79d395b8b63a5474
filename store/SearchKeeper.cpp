#include "store/SearchKeeper.h"

#include "store/SearchIndex.h"
#include "store/SearchText.h"
#include "store/SearchTokenizer.h"
#include "store/SqliteStatement.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace qn {
namespace {

using Clock = std::chrono::steady_clock;

// A write transaction of the keeper ends after this long or this many days,
// whichever comes first: a save waits for at most one of them.
constexpr auto kBatchTime = std::chrono::milliseconds(15);
constexpr size_t kBatchDays = 64;
// The keeper waits this long for a save to finish before it gives up.
constexpr int kBusyTimeoutMs = 5000;

StoreStatus Run(sqlite3* db, std::string_view sql)
{
    SqliteStatement statement(db, sql);
    int result = SQLITE_ROW;
    while ((result = statement.step()) == SQLITE_ROW) {
    }
    return result == SQLITE_DONE ? StoreStatus::Ok : StatusFromSqlite(result);
}

StoreStatus InTransaction(sqlite3* db, std::string_view begin, const std::function<StoreStatus()>& work)
{
    if (const StoreStatus begun = Run(db, begin); begun != StoreStatus::Ok)
        return begun;
    StoreStatus status = work();
    if (status == StoreStatus::Ok)
        status = Run(db, "COMMIT");
    if (status != StoreStatus::Ok && !sqlite3_get_autocommit(db))
        Run(db, "ROLLBACK");
    return status;
}

int TablesPresent(sqlite3* db)
{
    SqliteStatement count(
        db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('qn_search', 'qn_search_days')");
    return count.step() == SQLITE_ROW ? static_cast<int>(count.int64(0)) : -1;
}

// Dropping a full-text table needs the table to open. One too damaged for
// that goes by its schema entry, and its own tables with it.
StoreStatus ForgetDamagedIndex(sqlite3* db)
{
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 0, nullptr);
    if (const StoreStatus status = Run(db, "PRAGMA writable_schema = ON"); status != StoreStatus::Ok)
        return status;
    StoreStatus status = Run(db, "DELETE FROM sqlite_master WHERE type = 'table' AND name = 'qn_search'");
    Run(db, "PRAGMA writable_schema = RESET");
    for (std::string_view drop : {"DROP TABLE IF EXISTS qn_search_data", "DROP TABLE IF EXISTS qn_search_idx",
                                  "DROP TABLE IF EXISTS qn_search_content", "DROP TABLE IF EXISTS qn_search_docsize",
                                  "DROP TABLE IF EXISTS qn_search_config"})
        if (status == StoreStatus::Ok)
            status = Run(db, drop);
    return status;
}

StoreStatus MakeTables(sqlite3* db, bool dropFirst)
{
    return InTransaction(db, "BEGIN IMMEDIATE", [&] {
        if (dropFirst) {
            if (Run(db, "DROP TABLE IF EXISTS qn_search") != StoreStatus::Ok) {
                if (const StoreStatus status = ForgetDamagedIndex(db); status != StoreStatus::Ok)
                    return status;
            }
            if (const StoreStatus status = Run(db, "DROP TABLE IF EXISTS qn_search_days"); status != StoreStatus::Ok)
                return status;
        }
        for (std::string_view create : SearchIndexStatements())
            if (const StoreStatus status = Run(db, create); status != StoreStatus::Ok)
                return status;
        return StoreStatus::Ok;
    });
}

struct NoteOfDay {
    long long rowid = 0;  // the first row of the day's key
    std::int64_t hash = 0;
};

// The days whose note and recorded text differ, newest first.
StoreResult<std::vector<int>> DaysOutOfStep(sqlite3* db, const std::atomic<bool>& stop)
{
    StoreResult<std::vector<int>> result;
    std::unordered_map<int, NoteOfDay> notes;
    std::unordered_map<int, std::int64_t> recorded;
    result.status = InTransaction(db, "BEGIN", [&] {
        SqliteStatement rows(db, "SELECT rowid, YearMonthStr, ContentBak FROM tb_NewQN");
        int step = SQLITE_ROW;
        for (size_t n = 0; (step = rows.step()) == SQLITE_ROW; ++n) {
            if (n % 1024 == 0 && stop.load())
                return StoreStatus::Failed;
            const std::optional<int> day = DayNumberOfKey(rows.utf8(1));
            if (!day)
                continue;
            const long long rowid = rows.int64(0);
            auto [it, added] = notes.try_emplace(*day);
            if (!added && it->second.rowid < rowid)
                continue;
            const QByteArray text = rows.bytes(2);
            it->second = {rowid, SearchTextHash(std::string_view(text.constData(), static_cast<size_t>(text.size())))};
        }
        if (step != SQLITE_DONE)
            return StatusFromSqlite(step);
        SqliteStatement days(db, "SELECT day, text_hash FROM qn_search_days");
        while ((step = days.step()) == SQLITE_ROW)
            recorded.emplace(static_cast<int>(days.int64(0)), days.int64(1));
        return step == SQLITE_DONE ? StoreStatus::Ok : StatusFromSqlite(step);
    });
    if (!result.ok())
        return result;
    for (const auto& [day, note] : notes) {
        const auto found = recorded.find(day);
        if (found == recorded.end() || found->second != note.hash)
            result.value.push_back(day);
    }
    for (const auto& [day, hash] : recorded)
        if (!notes.contains(day))
            result.value.push_back(day);
    std::sort(result.value.begin(), result.value.end(), std::greater<>());
    return result;
}

// Re-indexes the days from their notes as they are now, in short write
// transactions.
StoreStatus Reindex(sqlite3* db, const std::vector<int>& days, const std::atomic<bool>& stop,
                    const std::function<bool()>& mayWrite)
{
    SearchIndex index(db);
    SqliteStatement current(db, "SELECT ContentBak FROM tb_NewQN WHERE YearMonthStr = ?1 ORDER BY rowid LIMIT 1");
    size_t next = 0;
    while (next < days.size()) {
        if (stop.load() || !mayWrite())
            return StoreStatus::Failed;
        const StoreStatus status = InTransaction(db, "BEGIN IMMEDIATE", [&] {
            const auto started = Clock::now();
            for (size_t n = 0; next < days.size() && n < kBatchDays && Clock::now() - started < kBatchTime;
                 ++n, ++next) {
                const int day = days[next];
                StatementUse use(current);
                if (!current.bind(1, KeyOfDayNumber(day)))
                    return StoreStatus::Failed;
                const int found = current.step();
                StoreStatus one = StoreStatus::Ok;
                if (found == SQLITE_ROW) {
                    const QByteArray text = current.bytes(0);
                    one = index.Put(day, std::string_view(text.constData(), static_cast<size_t>(text.size())));
                } else if (found == SQLITE_DONE) {
                    one = index.Remove(day);
                } else {
                    one = StatusFromSqlite(found);
                }
                if (one != StoreStatus::Ok)
                    return one;
            }
            return StoreStatus::Ok;
        });
        if (status != StoreStatus::Ok)
            return status;
    }
    return StoreStatus::Ok;
}

// A search through the index reads its structure: a damaged one shows here.
StoreStatus Probe(sqlite3* db)
{
    SqliteStatement probe(db, "SELECT rowid FROM qn_search WHERE qn_search MATCH '\"qn\"' LIMIT 1");
    const int result = probe.prepareResult() == SQLITE_OK ? probe.step() : probe.prepareResult();
    return result == SQLITE_ROW || result == SQLITE_DONE ? StoreStatus::Ok : StatusFromSqlite(result);
}

StoreStatus BringInStep(sqlite3* db, const std::atomic<bool>& stop, bool rebuild, const std::function<bool()>& mayWrite)
{
    const int present = TablesPresent(db);
    if (present < 0)
        return StoreStatus::Failed;
    // An index that cannot be searched is built anew.
    const StoreStatus probed = present == 2 && !rebuild ? Probe(db) : StoreStatus::Ok;
    if (probed == StoreStatus::Busy)
        return probed;
    if (rebuild || present != 2 || probed != StoreStatus::Ok) {
        if (!mayWrite())
            return StoreStatus::Failed;
        if (const StoreStatus made = MakeTables(db, present != 0); made != StoreStatus::Ok)
            return made;
    }
    const StoreResult<std::vector<int>> days = DaysOutOfStep(db, stop);
    if (!days.ok())
        return days.status;
    return Reindex(db, days.value, stop, mayWrite);
}

}  // namespace

StoreStatus BringSearchIndexInStep(sqlite3* db, const std::atomic<bool>& stop, bool rebuild,
                                   const std::function<bool()>& mayWrite)
{
    const std::function<bool()> ask = mayWrite ? mayWrite : [] { return true; };
    const StoreStatus status = BringInStep(db, stop, rebuild, ask);
    // An index that cannot be read or written is built again from the notes.
    if (status == StoreStatus::Corrupt && !stop.load())
        return BringInStep(db, stop, true, ask);
    return status;
}

SearchKeeper::SearchKeeper(QString databasePath) : m_path(std::move(databasePath)) { }

SearchKeeper::~SearchKeeper() { Stop(); }

void SearchKeeper::Start(bool rebuild)
{
    Stop();
    m_stop = false;
    m_state = State::Working;
    m_thread = std::thread([this, rebuild] { Run(rebuild); });
}

void SearchKeeper::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_resumed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    {
        std::lock_guard lock(m_mutex);
        if (m_state.load() == State::Working)
            m_state = State::Failed;
    }
    m_settled.notify_all();
}

bool SearchKeeper::Wait(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_settled.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [this] { return m_state.load() != State::Working; });
}

void SearchKeeper::SetPaused(bool paused)
{
    {
        std::lock_guard lock(m_mutex);
        m_paused = paused;
    }
    m_resumed.notify_all();
}

bool SearchKeeper::MayWrite()
{
    std::unique_lock lock(m_mutex);
    m_resumed.wait(lock, [this] { return !m_paused || m_stop.load(); });
    return !m_stop.load();
}

void SearchKeeper::Run(bool rebuild)
{
    sqlite3* db = nullptr;
    StoreStatus status = StoreStatus::Failed;
    if (sqlite3_open_v2(m_path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        // The index can always be made again from the notes: its batches
        // need not wait for the disk.
        sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
        if (RegisterSearchTokenizer(db))
            status = BringSearchIndexInStep(db, m_stop, rebuild, [this] { return MayWrite(); });
    }
    sqlite3_close_v2(db);
    {
        std::lock_guard lock(m_mutex);
        m_state = status == StoreStatus::Ok ? State::InStep : State::Failed;
    }
    m_settled.notify_all();
}

}  // namespace qn
