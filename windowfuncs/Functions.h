// The window functions themselves, as plain functions of the distance in
// samples. All are even, and 0 at and beyond their radius.
#pragma once

namespace windowfuncs {

// Piecewise cubic splines fitted to a sinc-like interpolant over 2, 3 and 4
// samples: 1 at 0, 0 at every other integer.
double Spline16(double x);
double Spline36(double x);
double Spline64(double x);
// sinc(x) · sinc(x / taps) for |x| < taps.
double Lanczos(double x, int taps);
// Keys' cubic convolution with free parameter a (a = -0.5 is Catmull-Rom).
double KeysCubic(double x, double a);
// Triangle 1 - |x| for |x| < 1.
double Triangle(double x);

}  // namespace windowfuncs
