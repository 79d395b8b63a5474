#pragma once
// How a day of the notebook is named in result lists and exports: its date,
// its lunar date and the word of its note box.

#include <QString>

#include <optional>
#include <string_view>

namespace qn {

// The day a key names, as the number YYYYMMDD, when the key is exactly eight
// digits of a valid date; rows under any other key are not day notes.
std::optional<int> DayNumberOfKey(std::string_view key);
// The date value of a day key "YYYYMMDD", when the key names a valid date.
std::optional<double> DateOfKey(std::string_view key);

// "2010-06-05".
QString IsoDateText(double date);

// "四月廿三", "闰二初一": the lunar month and day; empty for a year outside
// the calendar's range.
QString LunarDateText(double date);

// "星期一" ... "星期五", "星期六/日": the note box a day's note lives in.
QString NoteDayWord(double date);

}  // namespace qn
