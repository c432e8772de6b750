// A plain scalar model of the kernel plug-ins' whole pixel arithmetic, used
// only by tests as the yardstick: the same 16-bit colour formulas and table
// lookups, and the same float accumulation order, step by step.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "abi/HostAbi.h"
#include "abi/LinearFilter.h"

namespace reference_model {

// The order in which one output value adds its taps.
enum class TapOrder {
    // 0 + w0·x0 + w1·x1 + ... in tap order: Tessolk, and every vertical pass.
    InOrder,
    // Varnoth's horizontal pass: E + O, where E sums the even taps of the
    // pairs and O their odd taps, each in tap order; an odd last tap is then
    // added to that sum.
    EvenOddPairs,
};

// R, G, B codes 0..4096 of one pixel.
struct Codes {
    int16_t b, g, r;
};

// Colour conversion in (16-bit wrapping products and adds, clamped codes).
Codes CodesOf(PIXEL_YC pixel);
// Colour conversion out of one linear sum: clamp to 0..65535 (NaN to 0),
// round in the current mode, look up.
int16_t CodeOfLinear(float linear, const int16_t *fromLinear);
// Codes to YCbCr with the 16-bit formulas.
PIXEL_YC PixelOf(Codes codes);
// Sum of count >= 1 products weights[k] × values[k × stride], each product
// rounded to float before it is added.
float SumTaps(const float *weights, const float *values, int32_t count, ptrdiff_t stride,
              TapOrder order);

// One resize, described as the driver hands it to a kernel.
struct Job {
    const PIXEL_YC *src = nullptr;
    int32_t srcPitch = 0;  // pixels per source line
    int32_t srcWidth = 0;
    int32_t srcHeight = 0;
    const WeightTable *hWeights = nullptr;  // one entry per destination column
    int32_t columnUnit = 48;                // hWeights' start unit
    const WeightTable *vWeights = nullptr;  // one entry per destination row
    int32_t rowUnit = 896;                  // vWeights' start unit
    const float *toLinear = nullptr;        // 4097 entries
    const int16_t *fromLinear = nullptr;    // 65536 entries
    int32_t dstWidth = 0;
    int32_t dstHeight = 0;
    TapOrder horizontalOrder = TapOrder::InOrder;
    // The HQ kernels' three steps (TessolkHQ, VarnothHQ): the anti-ringing
    // clamp on enlarged axes, sigmoidal light when no axis is reduced and
    // one is enlarged, and the log-indexed inverse (HqTablesFor).
    bool highQuality = false;
};

// The HQ kernels' tables for one forward table, in linear or sigmoidal
// light: `forward` (4097 entries) fills the strip, `inverse` (65536) maps a
// log index (the float 1 + v, v clamped to 0..65534, read as an integer:
// exponent and top 12 mantissa bits, less those of 1.0) back to a code.
struct HqTables {
    std::vector<float> forward;
    std::vector<int16_t> inverse;
};
HqTables HqTablesFor(const float *toLinear, bool sigmoid);
// The log index of one sum.
int32_t LogIndexOf(float sum);
// Its entry in `inverse`.
int16_t CodeOfLogIndex(float sum, const int16_t *inverse);
// The source positions either side of output `out`'s centre
// (out + 0.5) × src / dst − 0.5, each kept within taps first .. last.
void NearestPair(int32_t out, int32_t src, int32_t dst, int32_t first, int32_t last, int32_t &a,
                 int32_t &b);
// v into [min(x, y), max(x, y)], NaN as the processor's MINPS/MAXPS take it.
float ClampBetween(float v, float x, float y);

// How often the vertical sums left 0..65535 before the inverse table, so a
// test can show that its inputs reach both clamps.
struct Stats {
    int64_t belowZero = 0;
    int64_t aboveTop = 0;
};

// Writes the dstWidth × dstHeight expected pixels, dstPitch pixels per line.
Stats Resize(const Job &job, PIXEL_YC *dst, int32_t dstPitch);

}  // namespace reference_model
