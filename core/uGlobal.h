#pragma once
// Shared state of the notebook and the week model: the seven day slots of the
// shown week, Monday first. Saturday and Sunday share the sixth box and
// Saturday's note.

#include <string>
#include <vector>

struct TWeekConList {
    int DayNo = 0;       // Monday = 1 ... Sunday = 7 (slot index + 1)
    double DayDate = 0;  // the slot's date, with the time of day it was built from
    int BoxNo = 0;       // note box 1..6; Sunday shares box 6
    std::string DayKey;  // "YYYYMMDD"; Sunday carries Saturday's key

    friend bool operator==(const TWeekConList&, const TWeekConList&) = default;
};

using TWeekConArray = std::vector<TWeekConList>;

// The shown week. The main window sizes it to 7 at creation; only BuildWeek
// writes it afterwards.
extern TWeekConArray ShownWeek;

// Fills all seven slots of week (which must hold seven) with the week of d.
void BuildWeek(TWeekConArray& week, double d);
