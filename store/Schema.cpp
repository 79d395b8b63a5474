#include "store/Schema.h"

#include "store/SearchIndex.h"
#include "store/SqliteStatement.h"

#include <sqlite3.h>

#include <string>

namespace qn {
namespace {

constexpr std::string_view kLookupIndex =
    "CREATE INDEX IF NOT EXISTS idx_tb_NewQN_YearMonthStr ON tb_NewQN (YearMonthStr)";

const MigrationStep kSteps[] = {
    {1, {kLookupIndex}},
    // The full-text index of the notes; it is filled in the background.
    {2, {kSearchTableSql, kSearchDaysSql}},
};

StoreStatus Run(sqlite3* db, std::string_view sql)
{
    SqliteStatement statement(db, sql);
    if (statement.prepareResult() != SQLITE_OK)
        return StatusFromSqlite(statement.prepareResult());
    int result = SQLITE_ROW;
    while ((result = statement.step()) == SQLITE_ROW) {
    }
    return StatusFromSqlite(result);
}

StoreStatus RunStep(sqlite3* db, const MigrationStep& step)
{
    if (const StoreStatus begun = Run(db, "BEGIN IMMEDIATE"); begun != StoreStatus::Ok)
        return begun;
    StoreStatus status = StoreStatus::Ok;
    for (std::string_view sql : step.statements) {
        status = Run(db, sql);
        if (status != StoreStatus::Ok)
            break;
    }
    if (status == StoreStatus::Ok)
        status = Run(db, "PRAGMA user_version = " + std::to_string(step.version));
    if (status == StoreStatus::Ok)
        status = Run(db, "COMMIT");
    if (status != StoreStatus::Ok && !sqlite3_get_autocommit(db))
        Run(db, "ROLLBACK");
    return status;
}

}  // namespace

std::span<const MigrationStep> SchemaSteps() { return kSteps; }

int CurrentSchemaVersion() { return kSteps[std::size(kSteps) - 1].version; }

StoreResult<int> SchemaVersion(sqlite3* db)
{
    SqliteStatement statement(db, "PRAGMA user_version");
    const int result = statement.step();
    if (result != SQLITE_ROW)
        return {0, StatusFromSqlite(result)};
    return {statement.text(0).toInt(), StoreStatus::Ok};
}

StoreStatus MigrateSchema(sqlite3* db, std::span<const MigrationStep> steps)
{
    const StoreResult<int> version = SchemaVersion(db);
    if (!version.ok())
        return version.status;
    for (const MigrationStep& step : steps) {
        if (step.version <= version.value)
            continue;
        if (const StoreStatus status = RunStep(db, step); status != StoreStatus::Ok)
            return status;
    }
    return StoreStatus::Ok;
}

StoreStatus EnsureLookupIndex(sqlite3* db) { return Run(db, kLookupIndex); }

}  // namespace qn
