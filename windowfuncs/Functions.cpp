#include "windowfuncs/Functions.h"

#include <cmath>

namespace windowfuncs {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

double Spline16(double x) {
    x = std::fabs(x);
    if (x < 1) return ((x - 9.0 / 5.0) * x - 1.0 / 5.0) * x + 1.0;
    if (x < 2) {
        x -= 1;
        return ((-1.0 / 3.0 * x + 4.0 / 5.0) * x - 7.0 / 15.0) * x;
    }
    return 0;
}

double Spline36(double x) {
    x = std::fabs(x);
    if (x < 1) return ((13.0 / 11.0 * x - 453.0 / 209.0) * x - 3.0 / 209.0) * x + 1.0;
    if (x < 2) {
        x -= 1;
        return ((-6.0 / 11.0 * x + 270.0 / 209.0) * x - 156.0 / 209.0) * x;
    }
    if (x < 3) {
        x -= 2;
        return ((1.0 / 11.0 * x - 45.0 / 209.0) * x + 26.0 / 209.0) * x;
    }
    return 0;
}

double Spline64(double x) {
    x = std::fabs(x);
    if (x < 1) return ((49.0 / 41.0 * x - 6387.0 / 2911.0) * x - 3.0 / 2911.0) * x + 1.0;
    if (x < 2) {
        x -= 1;
        return ((-24.0 / 41.0 * x + 4032.0 / 2911.0) * x - 2328.0 / 2911.0) * x;
    }
    if (x < 3) {
        x -= 2;
        return ((6.0 / 41.0 * x - 1008.0 / 2911.0) * x + 582.0 / 2911.0) * x;
    }
    if (x < 4) {
        x -= 3;
        return ((-1.0 / 41.0 * x + 168.0 / 2911.0) * x - 97.0 / 2911.0) * x;
    }
    return 0;
}

double Lanczos(double x, int taps) {
    x = std::fabs(x);
    if (x == 0) return 1;
    if (!(x < taps)) return 0;
    const double px = kPi * x;
    return taps * std::sin(px) * std::sin(px / taps) / (px * px);
}

double KeysCubic(double x, double a) {
    x = std::fabs(x);
    if (x < 1) return ((a + 2) * x - (a + 3)) * x * x + 1;
    if (x < 2) return ((a * x - 5 * a) * x + 8 * a) * x - 4 * a;
    return 0;
}

double Triangle(double x) {
    x = std::fabs(x);
    return x < 1 ? 1 - x : 0;
}

}  // namespace windowfuncs
