#pragma once
// Solar-calendar day arithmetic and the conversion between solar dates and
// Chinese lunisolar dates.
//
// Solar dates are dates of the historical calendar: Julian up to 1582-10-04
// and Gregorian from 1582-10-15 on; 1582-10-05 to 1582-10-14 do not exist.
// Every solar date converts to and from the one serial day of the program,
// the day number (DayNumbers.h). Lunar dates are a lunar year, a month 1..12,
// a day 1..30 and a leap flag. A "signed lunar month" is the month number,
// negated for a leap month.
//
// Functions that fail return false and leave their out-parameters unset.
// Integer division truncates toward zero; Floor rounds toward minus infinity
// and Round rounds halves to even.
//
// Everything that depends only on the year (the new moons of a year's series,
// the lunar new year, the solar-term days) is memoised on first use. The
// memo never changes a result; CalcPath::Uncached recomputes everything and
// exists so that the two can be compared.

#include "calendar/DateValue.h"

enum class CalcPath { Cached, Uncached };

// The date the engine reads from a date value. Date values count proleptic
// Gregorian days, and the year, month and day they decode to are taken as a
// date of the historical calendar unchanged: before 1582-10-15 the engine
// reads them as the Julian date with the same numbers, and 1582-10-05 to
// 1582-10-14 as dates of the gap. Every engine entry that takes a date value
// reads it here.
qn::CivilDate DateOfValue(double date);

// 1 Julian date, 2 Gregorian date, 0 a date of the 1582 gap.
int GetCalendarKind(int Year, int Month, int Day);
bool IsSolarLeapYear(int Year);
// Days in the month, 0 for a month outside 1..12. October 1582 counts 31.
int GetMonthDays(int Year, int Month);
// 1-based day of the year.
int GetDayOfYear(int Year, int Month, int Day);
// The days a month really had: GetMonthDays, except October 1582 with 21.
int GetRealMonthDays(int Year, int Month);
// 1-based day of the year counted in the days the year really had: the same as
// GetDayOfYear except from 1582-10-15 to the end of 1582, which lie ten days
// earlier in the year (1582-10-15 is day 278, 1582-12-31 day 355). A date of
// the gap counts as the Julian date it names. The solar terms are measured in
// this count.
int GetRealDayOfYear(int Year, int Month, int Day);
// The month and day of a day of the year so counted. Days before the year
// stay in January (day 0, -1, ...) and days after it run on in December.
void RealDayOfYearToDate(int Year, int DayOfYear, int& Month, int& Day);
// The day number of a date of the historical calendar, the one conversion
// from the engine's dates to the serial day: the Julian rule before
// 1582-10-15, the Gregorian rule from then on. A date of the gap reads as the
// Julian date it names (1582-10-05 as 577736, like 1582-10-15). Computed in
// 64 bits for any numbers; years before 1 follow the engine's numbering.
long long HistoricalDayNumber(int Year, int Month, int Day);
// The day number as the engine's int: Julian 0001-01-01 is -1, 1582-10-04 is
// 577735, 1582-10-15 is 577736, 1899-12-30 is 693594. A gap date gives 0.
int GetDayNumber(int Year, int Month, int Day);
// False for a negative day number.
bool DayNumberToDate(int DayNumber, int& Year, int& Month, int& Day);
// 1 when the first date is later, 0 when equal, -1 when earlier.
int CompareSolarDate(int Y1, int M1, int D1, int Y2, int M2, int D2);
// Same order for lunar dates; within one month number a leap month is later.
int CompareLunarDate(int Y1, int M1, int D1, bool Leap1, int Y2, int M2, int D2, bool Leap2);

// 0..12 (the year's leap month, 0 for none), -1 outside -849..2100.
int GetLeapMonthCode(int Year);
// GetLeapMonthCode with -1 turned into 0.
int GetLeapMonth(int Year);
// Running count of leap months up to the year. Year 0 reads as year -1;
// a year outside the table reads as the nearest end of it.
int GetLeapMonthCount(int Year);

// 1..30, or -1 when no new moon of the year's series fits.
int GetLunarDay(int Year, int Month, int Day, CalcPath path = CalcPath::Cached);
// Signed lunar month.
int GetLunarMonth(int Year, int Month, int Day, CalcPath path = CalcPath::Cached);
// False when Year is outside -849..2100.
bool GetLunarMonthDay(int Year, int Month, int Day, int& LunarMonth, int& LunarDay, bool& IsLeap,
                      CalcPath path = CalcPath::Cached);
// False when Year is outside -849..2100.
bool SolarToLunar(int Year, int Month, int Day, int& LunarYear, int& LunarMonth, int& LunarDay, bool& IsLeap,
                  CalcPath path = CalcPath::Cached);
// False when the lunar date does not exist.
bool LunarToSolar(int LunarYear, int LunarMonth, int LunarDay, bool IsLeap, int& Year, int& Month, int& Day,
                  CalcPath path = CalcPath::Cached);
// SolarToLunar of the year, month and day of a date value.
bool DateToLunar(double date, int& LunarYear, int& LunarMonth, int& LunarDay, bool& IsLeap,
                 CalcPath path = CalcPath::Cached);
