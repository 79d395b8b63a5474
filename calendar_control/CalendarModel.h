#pragma once
// The month model behind TChnCalendar: the selected date-time, its lunar
// texts and the 42 day cells of the shown month, with the statutory holiday
// marks (休 / 班) of its days. No widgets and no pixels, so the layout can be
// checked on its own.

#include "calendar/ChnCal.h"
#include "calendar_control/CalendarColors.h"
#include "holidays/HolidayCalendar.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>

// One grid cell of the month.
struct TcnDateInf {
    std::int32_t Day = 0;
    bool InUse = false;   // drawn: a day of the shown month, or a title cell 40..42
    QString DayText;      // upper line; the title text in cells 40..42
    QString CnMonth;      // lunar month name of the day
    QString CnDay;        // lunar day name of the day
    QString CnText;       // lower line as shown
    TColor DayColor = 0;  // colour of the upper line
    TColor CnColor = 0;   // colour of the lower line
    // The statutory holiday of the day: Off or Work while the holiday layer
    // is shown and a table names the day, else Unknown. HolidayMark is the
    // corner mark, "休" or "班" (empty without one).
    qn::HolidayStatus Holiday;
    QString HolidayMark;
};

// Colours that the month layout writes into the cells.
struct TLayoutColors {
    TColor ColorCnDate = calcolor::Green;
    TColor ColorDate = 5197647;
    TColor ColorHoliday = 33023;
    TColor ColorLunarHolDay = 16733011;
    TColor ColorCnHolDay = 33023;
};

class TCalendarModel {
public:
    static constexpr int kMinYear = 1;
    static constexpr int kMaxYear = 2100;
    static constexpr int kCellCount = 42;
    static constexpr int kLastDayCell = 37;
    static constexpr int kConstellationCell = 40;
    static constexpr int kYearNameCell = 41;
    static constexpr int kAnimalCell = 42;

    // True when `value` would be taken as the new date: it differs from
    // DateTime and its year lies in 1..2100. NaN, infinities and values far
    // outside the date range are refused too.
    bool Accepts(double value) const;

    // Stores `value` as DateTime and fills CnMonth, CnDay, CnDate and the
    // title cells from its day information. Call only with an accepted value.
    void SelectDate(double value);

    // Lays out the month of DateTime: clears cells 1..37 and the week numbers,
    // then fills one cell per day and marks its holidays. Returns the cell of
    // the selected day.
    int LayoutMonth();

    // The statutory holidays: a table to look the days up in (none: no
    // marks), and whether the layer is shown at all. Both work the marks of
    // the laid-out month out again at once.
    void SetHolidays(std::shared_ptr<const qn::HolidayCalendar> holidays);
    const std::shared_ptr<const qn::HolidayCalendar>& Holidays() const { return FHolidays; }
    void SetShowHolidays(bool show);
    bool ShowHolidays() const { return FShowHolidays; }
    // What the layer shows for a date of the date type: the table's answer,
    // or Unknown (no mark, no text) without a table or with the layer off.
    qn::HolidayStatus HolidayOf(double date) const;

    // True once a date has been selected (DateTime 0 is a date as well).
    bool HasDate() const { return FDays[kConstellationCell].InUse; }

    // "YYYY-MM-DD 农历..." or, before 1949, the era text instead of the date.
    QString InfoText() const { return InfoDatePart() + InfoLunarPart(); }
    // The two parts of the info text: the date or era, and " 农历" with CnDate.
    QString InfoDatePart() const;
    QString InfoLunarPart() const { return QStringLiteral(" 农历") + CnDate; }
    // Every text of the selected day, one per line (see DayTipLines); empty
    // before a date is selected.
    QStringList SelectedDayTips() const;
    // The same for the day in `cell` (1..37) of the laid-out month; empty for
    // a cell without a day.
    QStringList CellDayTips(int cell) const;

    // Cell number (1..42) -> grid column (1..7) and row (1..6).
    static int CellColumn(int cell) { return (cell - 1) % 7 + 1; }
    static int CellRow(int cell) { return (cell - 1) / 7 + 1; }

    double DateTime = 0;
    QString CnMonth;
    QString CnDay;
    QString CnDate;
    std::array<TcnDateInf, kCellCount + 1> FDays{};  // index 1..42; 0 unused
    std::array<QString, 7> FWeekNums{};              // index 1..6; 0 unused
    TLayoutColors Colors;
    TChnCal FDayInfo;

private:
    // Fills the holiday fields of the month's cells (and clears the others).
    void MarkHolidays();

    QString FEraName;      // era text of the selected date's year
    TChnCal FSelectedDay;  // the selected date's information, for its tooltip
    std::shared_ptr<const qn::HolidayCalendar> FHolidays;
    bool FShowHolidays = true;
};
