#pragma once
// Where the notebook keeps the user's holiday file, for a program beside it
// that has no Qt (qncal): Data/cn-holidays.csv in the executable's folder
// when a portable copy has one there, else in the user's data folder, where
// an installed notebook keeps its Data/ ($XDG_DATA_HOME/qnweeknote/Data/, or
// ~/.local/share/qnweeknote/Data/ without it). The file need not exist.

#include <filesystem>

namespace qn {

// xdgDataHome and home as the environment gives them (null or empty when
// unset). Empty when neither the executable's folder nor a home is known.
std::filesystem::path NotebookHolidayFile(const std::filesystem::path& executableFolder, const char* xdgDataHome,
                                          const char* home);

}  // namespace qn
