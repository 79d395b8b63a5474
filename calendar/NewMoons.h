#pragma once
// The new moons of a year's lunation series: a truncated periodic series for
// the mean lunation, in China standard time (UTC+8).

#include <array>

// Day numbers of the new moons of lunations k - 1 .. k + 13, where
// k = Floor((Year - 1900) * 12.3685).
struct NewMoonSeries {
    std::array<int, 15> day{};
};

NewMoonSeries ComputeNewMoonSeries(int Year);
