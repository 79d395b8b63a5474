#pragma once
// The schema version of the notes database (PRAGMA user_version) and the
// steps that bring an older file up to it. A step may add tables and indexes
// beside tb_NewQN; it never changes tb_NewQN or its rows.

#include "store/StoreStatus.h"

#include <span>
#include <string_view>
#include <vector>

struct sqlite3;

namespace qn {

struct MigrationStep {
    int version;                               // user_version once the step is done
    std::vector<std::string_view> statements;  // run in one transaction with the version
};

// The steps of this program, in order.
std::span<const MigrationStep> SchemaSteps();
// The version a file has once every step has run.
int CurrentSchemaVersion();

// The file's user_version, or a failure.
StoreResult<int> SchemaVersion(sqlite3* db);

// Runs every step above the file's version, each in a transaction of its
// own. A file from a newer program (a higher version) is left as it is.
StoreStatus MigrateSchema(sqlite3* db, std::span<const MigrationStep> steps = SchemaSteps());

// The lookup index on YearMonthStr, made when a file lacks it (another
// program or an old copy may have written the file without it).
StoreStatus EnsureLookupIndex(sqlite3* db);

}  // namespace qn
