#pragma once
// qncal: the lunar calendar in a terminal. RunQnCal is the whole program
// behind main(), with its streams and clock passed in so it can be tested.

#include "calendar/Clock.h"

#include <ostream>
#include <string>
#include <vector>

namespace qncal {

// Exit statuses.
inline constexpr int ExitOk = 0;
inline constexpr int ExitNoSuchLunarDate = 1;
inline constexpr int ExitBadInput = 2;
inline constexpr int ExitOutputFailed = 3;

struct RunOptions {
    bool highlightToday = false;  // reverse video for today's number in the grid
};

// args are the command-line arguments without the program name. Bad input
// writes one line to err, nothing to out, and returns ExitBadInput.
int RunQnCal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const qn::NowSource& now,
             const RunOptions& options = {});

// The --help text.
std::string UsageText();

}  // namespace qncal
