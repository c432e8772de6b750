// Row loops that every sample of a picture or video passes through: codes
// to the host's scale, and lines of values to and from PIXEL_YC. Each
// processor tier has its own table of them, chosen once at start; the
// vector tiers are written by hand, because the vectoriser cannot see that
// a clamped 32-bit value packs to 16 bits. Every tier gives the same bytes.
#pragma once
#include <cstdint>

#include "abi/HostAbi.h"

// A whole-number sum of codes onto the host's scale:
//   host = round((sum - Offset) * Factor), halves away from zero, clamped to
// int16. Float is exact enough: a code's exact result never lies nearer to a
// half than 1/510 at 8 bits, far more than float's error at these sizes.
struct THostScale {
    float Offset, Factor;
    // No exact result lies at a half or within float's error of one, so
    // rounding to nearest even gives the same and costs less.
    bool NoHalves = false;
};

// out[i] = scale(in[i]) for i < count.
void ScaleToHost(const uint8_t *in, int count, THostScale scale, int16_t *out);
void ScaleToHost(const uint16_t *in, int count, THostScale scale, int16_t *out);
void ScaleToHost(const int32_t *in, int count, THostScale scale, int16_t *out);

// A whole-number sum of host values onto codes, exactly:
//   code = min(max(floor((sum * Factor + Bias) / 2^Shift), 0), Max).
// Host values are whole 4096ths and a sum's weights add up to a power of
// two, so the division is a shift. `Fits32` says that no sum of int16 values
// with those weights can take sum * Factor + Bias past int32.
struct TCodeScale {
    int32_t Factor;
    int64_t Bias;
    int Shift;
    int32_t Max;
    bool Fits32;
};

void ScaleToCodes(const int32_t *in, int count, TCodeScale scale, uint8_t *out);
void ScaleToCodes(const int32_t *in, int count, TCodeScale scale, uint16_t *out);

// Lines of y, cb and cr into pixels; without chroma (null) cb and cr are 0.
void PackPixels(const int16_t *y, const int16_t *cb, const int16_t *cr, int count, PIXEL_YC *out);
// A line of pixels, widened: y into `y`, and cb and cr times `weight` (1 or
// 2) into the sums `cb` and `cr`, added to them or, unless `add`, in place
// of them. A null `y`, or null `cb` and `cr`, is skipped.
void UnpackPixels(const PIXEL_YC *in, int count, int32_t *y, int32_t *cb, int32_t *cr, int weight,
                  bool add);

// A picture's row of `width` pixels of `channels` samples of `depth` bits
// into the host's pixels (PictureRows.h's conversions), and back: how many
// pixels from the start the tier did; the caller does the rest one by one.
int PictureRowToHost(const uint8_t *row, int depth, int channels, int width, PIXEL_YC *out);
int HostToPictureRow(const PIXEL_YC *in, int width, int depth, int channels, uint8_t *row);

// The tiers, lowest first; each table does what the one below does, wider.
enum class TRowTier { Baseline, Sse2, Avx2 };

struct TRowOps {
    void (*ScaleBytes)(const uint8_t *in, int count, THostScale scale, int16_t *out);
    void (*ScaleWords)(const uint16_t *in, int count, THostScale scale, int16_t *out);
    void (*ScaleSums)(const int32_t *in, int count, THostScale scale, int16_t *out);
    void (*CodeBytes)(const int32_t *in, int count, TCodeScale scale, uint8_t *out);
    void (*CodeWords)(const int32_t *in, int count, TCodeScale scale, uint16_t *out);
    void (*Pack)(const int16_t *y, const int16_t *cb, const int16_t *cr, int count, PIXEL_YC *out);
    void (*Unpack)(const PIXEL_YC *in, int count, int32_t *y, int32_t *cb, int32_t *cr, int weight,
                   bool add);
    int (*PictureIn)(const uint8_t *row, int depth, int channels, int width, PIXEL_YC *out);
    int (*PictureOut)(const PIXEL_YC *in, int width, int depth, int channels, uint8_t *row);
};

// A tier's table, or null where this build or processor has no such tier.
const TRowOps *RowOpsOf(TRowTier tier);
// The tier the functions above use: the highest this processor runs, or a
// lower one named by MORVANE_ROW_TIER ("baseline", "sse2", "avx2") at start.
TRowTier ActiveRowTier();
// Switches every later call to `tier`, for tests that compare tiers; false
// (and no change) where the tier is missing.
bool UseRowTier(TRowTier tier);
