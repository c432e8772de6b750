// RGB8 to and from the host's PIXEL_YC, full range, ITU-R BT.601:
//   Y  = 0.299 R + 0.587 G + 0.114 B
//   Cb = (B - Y) / 1.772,  Cr = (R - Y) / 1.402
// with R, G, B in 0..255 and the results scaled by 4096 / 255, so that y
// runs 0..4096 and cb, cr run -2048..2048 (colour codes 0..4096, the scale
// Morvane's kernels use). Computed in double precision and rounded to the
// nearest integer, halves away from zero. The way back inverts the same
// equations, rounds likewise and clamps to 0..255; RGB8 -> YC -> RGB8
// returns the same bytes.
#pragma once
#include <cstddef>
#include <cstdint>

#include "standin/YcImage.h"

PIXEL_YC RgbToYc(uint8_t r, uint8_t g, uint8_t b);
// The same on the 0..255 scale without rounding, for deeper samples; the
// way back leaves the values unrounded and unclamped.
PIXEL_YC RgbToYc(double r, double g, double b);
void YcToRgb(const PIXEL_YC &pixel, double rgb[3]);
// Grey pictures: Y alone, no colour.
PIXEL_YC GreyToYc(double grey);
double YcToGrey(const PIXEL_YC &pixel);
// Values outside the nominal ranges (a filter's overshoot) are clamped.
void YcToRgb(const PIXEL_YC &pixel, uint8_t rgb[3]);

// The same over `count` pixels of `channels` (1 grey, 3 RGB) samples each,
// the samples times `scale` on the 0..255 scale; the way back takes the
// samples as the 0..255 values times `scale`, rounded, clamped to 0..max.
void SamplesToYc(const uint16_t *samples, int channels, double scale, std::size_t count,
                 PIXEL_YC *out);
void YcToSamples(const PIXEL_YC *in, std::size_t count, int channels, double scale, int max,
                 uint16_t *out);

// Halves away from zero: the whole part towards zero, then twice what is
// left, towards zero (1 or -1 from a half on, 0 below it). std::lround
// without the library call, which some C libraries get wrong just below a
// half. For one double, or for lanes of them with `L`'s operations.
template <class L>
typename L::Int RoundHalfAwayLanes(typename L::Real v) {
    const typename L::Int whole = L::Truncate(v);
    const typename L::Real rest = L::Sub(v, L::ToReal(whole));  // exact
    return L::AddInt(whole, L::Truncate(L::Add(rest, rest)));
}

struct TOneDouble {
    using Real = double;
    using Int = long;
    static Int Truncate(Real v) { return Int(v); }
    static Real ToReal(Int v) { return Real(v); }
    static Real Sub(Real a, Real b) { return a - b; }
    static Real Add(Real a, Real b) { return a + b; }
    static Int AddInt(Int a, Int b) { return a + b; }
};

inline long RoundHalfAway(double v) { return RoundHalfAwayLanes<TOneDouble>(v); }
