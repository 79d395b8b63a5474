#include "store/NoteRange.h"

#include "store/SearchText.h"
#include "store/SqliteStatement.h"

#include <sqlite3.h>

namespace qn {

StoreResult<std::vector<DayNote>> ReadDayNotes(sqlite3* db, std::string_view from, std::string_view to)
{
    StoreResult<std::vector<DayNote>> result;
    // Within a key the first row comes first.
    SqliteStatement rows(db,
                         "SELECT YearMonthStr, Content, ContentBak FROM tb_NewQN WHERE YearMonthStr BETWEEN ?1 AND ?2 "
                         "ORDER BY YearMonthStr, rowid");
    if (!rows.bind(1, from) || !rows.bind(2, to)) {
        result.status =
            rows.prepareResult() == SQLITE_OK ? StoreStatus::Failed : StatusFromSqlite(rows.prepareResult());
        return result;
    }
    int step = SQLITE_ROW;
    while ((step = rows.step()) == SQLITE_ROW) {
        std::string key = rows.utf8(0);
        if (!DayNumberOfKey(key) || (!result.value.empty() && result.value.back().key == key))
            continue;
        result.value.push_back({std::move(key), rows.bytes(1), rows.text(2)});
    }
    result.status = StatusFromSqlite(step);
    return result;
}

StoreResult<std::pair<std::string, std::string>> DayKeySpan(sqlite3* db)
{
    StoreResult<std::pair<std::string, std::string>> result;
    for (const bool first : {true, false}) {
        // Walks the key index from either end to the first key that is a day.
        SqliteStatement keys(db,
                             first ? "SELECT DISTINCT YearMonthStr FROM tb_NewQN ORDER BY YearMonthStr"
                                   : "SELECT DISTINCT YearMonthStr FROM tb_NewQN ORDER BY YearMonthStr DESC");
        int step = SQLITE_ROW;
        std::string found;
        while ((step = keys.step()) == SQLITE_ROW) {
            std::string key = keys.utf8(0);
            if (DayNumberOfKey(key)) {
                found = std::move(key);
                break;
            }
        }
        if (step != SQLITE_ROW && step != SQLITE_DONE) {
            result.status = StatusFromSqlite(step);
            return result;
        }
        (first ? result.value.first : result.value.second) = std::move(found);
    }
    return result;
}

}  // namespace qn
