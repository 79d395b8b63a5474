#pragma once
// Rounding helpers of the engine's arithmetic.

#include <climits>
#include <cmath>

// Floor toward minus infinity, as an int; values beyond the int range
// (only absurd years produce them) are clamped, NaN gives 0.
inline int FloorToInt(double x)
{
    const double f = std::floor(x);
    if (!(f == f))
        return 0;
    if (f <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (f >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(f);
}

// Round to the nearest integer, halves to even (the default rounding mode).
inline long long RoundHalfEven(double x) { return static_cast<long long>(std::nearbyint(x)); }
