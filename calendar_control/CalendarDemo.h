#pragma once
// `qnweeknote --calendar-demo`: the calendar control alone in a plain window,
// today selected and the shipped holiday table marking 休 and 班, so a
// person can look at it and try it.

#include "calendar/Clock.h"

// Shows the demo window and runs the event loop; returns the exit code.
int RunCalendarDemo(const qn::NowSource& now);
