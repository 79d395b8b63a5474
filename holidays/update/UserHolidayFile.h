#pragma once
// The user's holiday table, Data/cn-holidays.csv: where it is, and writing it
// safely. Written by WriteFileSafely (core/SafeFile.h): the table is replaced
// only when every byte is on the disk, so a full disk or a crash never leaves
// half a table, and the file is readable by its owner only.

#include "core/ProgramFolder.h"
#include "holidays/HolidayRows.h"

#include <QString>

#include <vector>

namespace qn {

QString UserHolidayFilePath(const ProgramFolder& folder);

// Replaces the file with the rows in the table format. False, with the
// message for the user in *error, when it could not be written; the old file
// is then untouched.
bool WriteUserHolidayFile(const QString& path, const std::vector<HolidayRow>& rows, QString* error = nullptr);

}  // namespace qn
