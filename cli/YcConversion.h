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

#include "cli/RoundHalfAway.h"
#include "standin/YcImage.h"

// BT.601's weights and the scales above, for every conversion of pictures.
constexpr double kKr = 0.299, kKg = 0.587, kKb = 0.114;
constexpr double kCbScale = 2 * (1 - kKb);  // 1.772
constexpr double kCrScale = 2 * (1 - kKr);  // 1.402
constexpr double kCodesPerByte = 4096.0 / 255.0;

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
