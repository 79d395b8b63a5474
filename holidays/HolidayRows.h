#pragma once
// The rows of a holiday table: every day a yearly State Council notice names,
// as a day off (休) or an adjusted working day (班), with the holiday's name
// and the year of the notice. The file format, UTF-8 with a header line:
//
//   date,off,name,notice_year
//   2024-02-04,0,春节,2024
//
// A notice can name days of the year before it (the 2007 notice made
// 2006-12-30 a working day), so a row's date and notice year may differ.
// The built-in table, the user's file and the downloads all end up as rows;
// this is the one place that reads and writes the format.

#include "calendar/DateValue.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

struct HolidayRow {
    CivilDate date;
    bool off = false;  // true: 休, false: 班
    std::string name;
    int noticeYear = 0;
    friend bool operator==(const HolidayRow&, const HolidayRow&) = default;
};

// The notice years a table may hold: from the first notices of the republic
// to the last year the calendar engine covers.
inline constexpr int kFirstNoticeYear = 1949;
inline constexpr int kLastNoticeYear = 2100;
// A row's date lies in its notice year or the one before or after it.
inline constexpr int kNoticeYearReach = 1;
// A holiday name is a few words; anything longer is not a name.
inline constexpr std::size_t kMaxHolidayNameBytes = 120;
// Far more rows than a century of notices: a bigger table is not one.
inline constexpr std::size_t kMaxHolidayRows = 20000;

struct HolidayParseResult {
    bool ok = false;
    std::vector<HolidayRow> rows;  // sorted by date; empty unless ok
    std::string error;             // why the table was rejected (Chinese)
};

// Reads a whole table. Strict: one bad line rejects the table, and the
// reason names the line. A UTF-8 byte order mark, CR LF line ends and blank
// lines are accepted; a table with a header and no rows is valid and empty.
HolidayParseResult ParseHolidayCsv(std::string_view text);

// Checks rows that came from elsewhere (a download) by the same rules as a
// file: dates valid and in reach of their notice year, names sound, no date
// twice. Empty when they pass, else the reason.
std::string CheckHolidayRows(const std::vector<HolidayRow>& rows);

// The table as the file format, header first, LF line ends, rows by date.
std::string FormatHolidayCsv(const std::vector<HolidayRow>& rows);

// The notice years that rows come from.
std::set<int> NoticeYearsOf(const std::vector<HolidayRow>& rows);

// base with every notice year that overlay holds replaced by overlay's rows
// for it, wherever their dates fall. When two notices name the same date,
// the later notice holds. The result is sorted by date.
std::vector<HolidayRow> MergeNoticeYears(const std::vector<HolidayRow>& base, const std::vector<HolidayRow>& overlay);

// "2024-02-04".
std::string FormatIsoDate(const CivilDate& date);

}  // namespace qn
