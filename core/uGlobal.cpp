#include "core/uGlobal.h"

#include "calendar/DateValue.h"

#include <cassert>

TWeekConArray ShownWeek;

void BuildWeek(TWeekConArray& week, double d)
{
    assert(week.size() == 7);
    const int b = qn::IsoWeekday(d);
    // Whole days added to d carry its time of day into every slot.
    for (int i = 0; i < 7; ++i) {
        TWeekConList& slot = week[static_cast<size_t>(i)];
        slot.DayNo = i + 1;
        slot.DayDate = d + (i - (b - 1));
        slot.BoxNo = i + 1;
        slot.DayKey = qn::DateKey(slot.DayDate);
    }
    // Sunday shows and stores Saturday's note.
    week[6].BoxNo = week[5].BoxNo;
    week[6].DayKey = week[5].DayKey;
}
