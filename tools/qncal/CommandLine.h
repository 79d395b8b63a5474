#pragma once
// qncal's command line: the options, their values, and the checks of dates
// and numbers typed on it. A problem is a BadInput whose text is the
// one-line Chinese message.

#include "calendar/DateValue.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qncal {

inline constexpr int FirstYear = 1;
inline constexpr int LastYear = 2100;

class BadInput : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Mode { Calendar, Day, FromLunar, Tsv, Ics, Help, Version };

struct Command {
    Mode mode = Mode::Calendar;
    bool leap = false;                       // --leap
    bool threeMonths = false;                // -3, --three
    bool mondayFirst = false;                // -m, --monday
    bool weekNumbers = false;                // -w, --week
    std::optional<std::string> layers;       // --layers
    std::optional<std::string> holidayFile;  // --holidays: a holiday table to use instead of the notebook's
    std::vector<std::string> values;         // everything that is not an option
};

// args are the arguments without the program name. Long options also take
// their value as --name=value. Throws BadInput.
Command ParseCommandLine(const std::vector<std::string>& args);

// "what不是整数" unless the whole text is a decimal integer.
int ParseInteger(std::string_view text, const char* what);
void CheckYear(int year, const char* what = "年份");
void CheckMonth(int month, const char* what = "月份");
// A YYYY-MM-DD date of years 1..2100 that the calendar has: not
// 1582-10-05 .. 1582-10-14, which the calendar reform skipped.
qn::CivilDate ParseDate(std::string_view text);

}  // namespace qncal
