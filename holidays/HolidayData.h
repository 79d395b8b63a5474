#pragma once
// The holiday table in use: the built-in table with the user's own file laid
// over it. The user's file (cn-holidays.csv in the notebook's Data/ folder,
// or a file named on qncal's command line) has the same format and adds or
// replaces whole notice years, so a new year's notice can be added without a
// new release. A file that cannot be read or is malformed is ignored as a
// whole, with the reason, and the built-in table is used alone.
//
//   const qn::HolidayLoad load = qn::LoadHolidays(dataFolder / qn::kUserHolidayFileName);
//   if (!load.warning.empty()) tell the user load.warning;
//   load.calendar.Look(2024, 2, 10)  → 休 春节

#include "holidays/HolidayCalendar.h"
#include "holidays/HolidayRows.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qn {

// The user's file in the notebook's data folder.
inline constexpr const char* kUserHolidayFileName = "cn-holidays.csv";
// A table of every notice for a century is under 200 KB; nothing past this
// is read.
inline constexpr std::uintmax_t kMaxHolidayFileBytes = 1024 * 1024;

// The built-in table, parsed once.
const std::vector<HolidayRow>& BuiltInHolidayRows();

struct HolidayFileRead {
    enum class Status { Missing, Ok, Rejected };
    Status status = Status::Missing;
    std::vector<HolidayRow> rows;  // empty unless Ok
    std::string error;             // why it was rejected (Chinese)
};

// Reads and checks a table file. Missing only when there is no such path.
HolidayFileRead ReadHolidayFile(const std::filesystem::path& file);

struct HolidayLoad {
    HolidayCalendar calendar;
    bool userFileUsed = false;
    std::string warning;  // non-empty when the file was ignored, with why
};

// The built-in table, merged with the file when it exists and is sound.
// mustExist: the file was named explicitly, so a missing file is a warning
// too (qncal --holidays FILE).
HolidayLoad LoadHolidays(const std::filesystem::path& userFile, bool mustExist = false);

}  // namespace qn
