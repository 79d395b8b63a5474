#pragma once
// The statutory holiday table a run of qncal uses: the notices built into
// the program, with the user's own file laid over them. That file is the
// one the notebook keeps, or the one named by --holidays.

#include "holidays/HolidayCalendar.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace qncal {

// namedFile: the file given with --holidays. It must exist and be sound:
// otherwise BadInput, since the user asked for that file and nothing else.
// Without it, notebookFile is used when it exists; a file there that cannot
// be used is left out with a warning on err, and the run goes on with the
// built-in table (the notebook does the same). An empty notebookFile means
// the built-in table alone.
qn::HolidayCalendar LoadHolidayTable(const std::optional<std::string>& namedFile,
                                     const std::filesystem::path& notebookFile, std::ostream& err);

}  // namespace qncal
