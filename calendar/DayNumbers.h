#pragma once
// Day numbers: the one serial day that every calendar and every day count of
// the program converts through. Day 1 is 0001-01-01 of the proleptic
// Gregorian calendar (the "fixed" day count of the calendar literature), so
// Julian 0001-01-01 is day -1 and 1582-10-15, the first Gregorian day, is
// day 577736.
//
// The other day counts are the day number shifted by a constant:
//   date values (DateValue.h):  whole days since 1899-12-30
//                               = day number - kDayNumberOfDateValueZero
//   the day-name cycle (GanZhi.h): cycle count = day number + kCycleCountOffset
//
// and each calendar is one pair of conversions to and from it: the proleptic
// Gregorian calendar of date values here, the historical calendar of the
// engine (Julian up to 1582-10-04, Gregorian from 1582-10-15) in LunarCore.h.

#include "calendar/DateValue.h"

namespace qn {

// 1899-12-30, day 0 of date values.
inline constexpr long long kDayNumberOfDateValueZero = 693594;
// The day names count from two days before day 0 (day 1 is 丁丑, cycle count 3).
inline constexpr long long kCycleCountOffset = 2;
// 1582-10-04, the last day of the Julian calendar; the next day is 1582-10-15.
inline constexpr long long kLastJulianDayNumber = 577735;
inline constexpr long long kFirstGregorianDayNumber = kLastJulianDayNumber + 1;

// The proleptic Gregorian calendar, for valid dates of any year.
long long DayNumberFromGregorian(int year, int month, int day);
CivilDate GregorianFromDayNumber(long long dayNumber);

// The day number of the day before 1 January of a year ("day 0" of the year),
// so that a date's day number is this plus its 1-based day of the year.
// Years before 1 follow the engine's own numbering: the divisions truncate
// toward zero, as the engine's arithmetic does everywhere.
long long JulianDayZeroOfYear(long long year);
long long GregorianDayZeroOfYear(long long year);

}  // namespace qn
