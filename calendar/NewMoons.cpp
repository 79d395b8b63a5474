#include "calendar/NewMoons.h"

#include "calendar/EngineMath.h"

#include <cmath>

namespace {

constexpr double kRad = 57.29577951308232;  // degrees per radian
constexpr double kTwoPi = 6.283185307179586;

double Frac(double x) { return x - std::trunc(x); }

}  // namespace

NewMoonSeries ComputeNewMoonSeries(int Year)
{
    const double T = (Year - 1899.5) / 100;
    const double k = std::floor((static_cast<double>(Year) - 1900) * 12.3685);
    const double T2 = T * T;
    const double T3 = T2 * T;

    const double X = 0.75933 - 0.0002172 * T2 - 0.000000155 * T3 + 0.53058868 * k - 0.000837 * T + 8.0 / 24 + 0.5;
    const double C1 = 0.1734 - 0.000393 * T;
    const double B = 29 * k + 693595;

    const double M0 = kTwoPi * Frac(0.08084821133 * k) + (359.2242 - 0.0000333 * T2 - 0.00000347 * T3) / kRad;
    const double M1 = kTwoPi * Frac(0.07171366128 * k) + (306.0253 + 0.0107306 * T2 + 0.00001236 * T3) / kRad;
    const double F0 = kTwoPi * Frac(0.08519585128 * k) + (21.2964 - 0.0016528 * T2 - 0.00000239 * T3) / kRad;

    // Only whole steps are new moons; the half steps of the series are full
    // moons and never decide a lunar day, so they are not evaluated.
    NewMoonSeries series;
    for (int i = 0; i < 15; ++i) {
        const double v = i - 1;
        const double M = M0 + 0.507984293 * v;
        const double Mp = M1 + 6.73377553 * v;
        const double F = F0 + 6.818486628 * v;
        const double W = 28 * v + B + X + 1.53058868 * v + C1 * std::sin(M) - 0.4068 * std::sin(Mp)
            + 0.0021 * std::sin(2 * M) + 0.0161 * std::sin(2 * Mp) + 0.0104 * std::sin(2 * F)
            - 0.0074 * std::sin(M - Mp) - 0.0051 * std::sin(M + Mp);
        series.day[i] = FloorToInt(W);
    }
    return series;
}
