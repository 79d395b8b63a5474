#pragma once
// qncal: the lunar calendar in a terminal. RunQnCal is the whole program
// behind main(), with its streams and clocks passed in so it can be tested.

#include "calendar/Clock.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace qncal {

// Exit statuses.
inline constexpr int ExitOk = 0;
inline constexpr int ExitBadInput = 2;  // includes dates, solar or lunar, that do not exist
inline constexpr int ExitOutputFailed = 3;

struct RunOptions {
    bool color = false;    // colours and today in reverse video in the calendar grids
    qn::NowSource utcNow;  // the time stamp of a feed; the local clock when empty
    // The user's holiday file where the notebook keeps it (see
    // qn::NotebookHolidayFile), laid over the built-in table when it exists.
    // Empty: the built-in table alone. --holidays FILE takes its place.
    std::filesystem::path holidayFile;
};

// Whether to colour: only on a terminal, and not when NO_COLOR is set to a
// non-empty value (noColor is its value, or null when it is not set).
bool ColorWanted(bool isTerminal, const char* noColor);

// args are the command-line arguments without the program name. Bad input
// writes one line to err, nothing to out, and returns ExitBadInput.
int RunQnCal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const qn::NowSource& now,
             const RunOptions& options = {});

// The --help text.
std::string UsageText();
// The --version line.
std::string VersionText();

}  // namespace qncal
