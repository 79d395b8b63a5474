#pragma once
// The one source of "now". Everything that needs today's date or the current
// time (start-up, "今天", the time stamp command, the export name) asks a
// NowSource, so that tests can fix the moment.

#include <functional>

namespace qn {

// Returns the current local date and time as a date value.
using NowSource = std::function<double()>;

// The real clock: local date and time of this machine.
double SystemNow();

// A clock that always answers the given value.
NowSource FixedClock(double value);

}  // namespace qn
