#pragma once
// The constant table of historical Chinese eras behind GetEraText.
//
// The rows come from calendar/data/era-rows.csv (its sources and judgment
// calls are in era-rows.SOURCES.md next to it); the build turns that file
// into this table. Each row is one UTF-8 string of seven comma-separated
// fields:
//   start year, years of the row, years of the same era before this row,
//   dynasty, ruler's title, ruler's personal name, era name.
//
// Start years use astronomical numbering: 0 is 1 BC, -1 is 2 BC, -N is N+1 BC.
// Rows run in blocks by dynasty; a row's span ends where the next row starts.
// Parallel dynasties (the northern courts, the later Liang) restart earlier
// than the block before them, so the lookup never reaches them. The last row
// only closes the span of the Republic.

extern const char* const EraRows[];
extern const int EraRowCount;
