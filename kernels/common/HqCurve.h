// The sigmoidal light of the HQ kernels (c = 0.75, s = 6.5) on 0..1:
//   y = c - ln(1 / (x × scale + off) - 1) / s
// with off = 1 / (1 + e^{s·c}) and scale = 1 / (1 + e^{s(c-1)}) - off, so
// that 0 and 1 stay where they are. Plain double arithmetic only (+ - × ÷,
// no library call): every build, the kernels' and the tests' reference
// alike, gets the same bits whatever its libm or its x87 state.
#pragma once

namespace kernel_hq_curve {

constexpr double Centre = 0.75;
constexpr double Slope = 6.5;
constexpr double Offset = 0.00757724126786081;  // 1 / (1 + e^{4.875})
constexpr double Scale = 0.8279062958355761;    // 1 / (1 + e^{-1.625}) - Offset

// ln q for q > 0 of a moderate size (here 0.19 ... 132): q = m × 2^e with
// m in [√½, √2), then ln m = 2 atanh z, z = (m - 1) / (m + 1), |z| < 0.172,
// by its series to z^23 (the next term is below 1e-19 of the sum).
inline double NaturalLog(double q) {
    int e = 0;
    while (q >= 1.4142135623730951) {
        q *= 0.5;
        ++e;
    }
    while (q < 0.7071067811865476) {
        q *= 2.0;
        --e;
    }
    const double z = (q - 1.0) / (q + 1.0), z2 = z * z;
    double series = 1.0 / 23.0;
    for (int k = 10; k >= 0; --k) series = series * z2 + 1.0 / (2 * k + 1);
    return 2.0 * z * series + e * 0.6931471805599453;
}

// Linear light 0..1 to sigmoidal light 0..1. Below 0 (and NaN) is 0, from 1
// up is 1; the result is kept inside 0..1.
inline double Sigmoid(double x) {
    if (!(x > 0.0)) return 0.0;
    if (x >= 1.0) return 1.0;
    const double u = x * Scale + Offset;
    const double y = Centre - NaturalLog(1.0 / u - 1.0) / Slope;
    return y < 0.0 ? 0.0 : y > 1.0 ? 1.0 : y;
}

}  // namespace kernel_hq_curve
