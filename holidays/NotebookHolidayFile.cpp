#include "holidays/NotebookHolidayFile.h"

#include "holidays/HolidayData.h"

#include <system_error>

namespace qn {

std::filesystem::path NotebookHolidayFile(const std::filesystem::path& executableFolder, const char* xdgDataHome,
                                          const char* home)
{
    if (!executableFolder.empty()) {
        const std::filesystem::path portable = executableFolder / "Data" / kUserHolidayFileName;
        std::error_code error;
        if (std::filesystem::exists(portable, error))
            return portable;
    }
    // The XDG rule: a relative XDG_DATA_HOME is ignored.
    std::filesystem::path dataHome;
    if (xdgDataHome && *xdgDataHome && std::filesystem::path(xdgDataHome).is_absolute())
        dataHome = xdgDataHome;
    else if (home && *home)
        dataHome = std::filesystem::path(home) / ".local" / "share";
    else
        return executableFolder.empty() ? std::filesystem::path() : executableFolder / "Data" / kUserHolidayFileName;
    return dataHome / "qnweeknote" / "Data" / kUserHolidayFileName;
}

}  // namespace qn
