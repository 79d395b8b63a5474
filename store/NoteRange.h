#pragma once
// The day notes of a range of days, read in one statement (one consistent
// view, also while the notebook writes): for each day key from..to the
// first row, as the notebook reads it. Rows under keys that are no day are
// left out.

#include "store/DayNote.h"
#include "store/StoreStatus.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

namespace qn {

// from, to: day keys "YYYYMMDD", both included. Oldest first.
StoreResult<std::vector<DayNote>> ReadDayNotes(sqlite3* db, std::string_view from, std::string_view to);

// The first and the last day key that has a row, or nothing.
StoreResult<std::pair<std::string, std::string>> DayKeySpan(sqlite3* db);

}  // namespace qn
