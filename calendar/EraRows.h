#pragma once
// The constant table of historical Chinese eras behind GetEraText.

inline constexpr int EraRowCount = 529;

// Each row: "start,years,earlierYears,dynasty,title,personalName,eraName".
extern const char* const EraRows[EraRowCount];
