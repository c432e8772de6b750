// The HQ kernels' own tables, derived from the forward table the driver
// hands in (the driver's GammaToLinear, or any other 4097-entry table):
//
//   sigmoidForward  code -> sigmoidal light on 0..65535 (the handed value
//                   taken through kernel_hq_curve::Sigmoid)
//   linearInverse   log index -> code, for linear light
//   sigmoidInverse  log index -> code, for sigmoidal light
//
// The log index of a sum v is the float 1 + v, v clamped to 0..65534, read
// as an integer: its exponent and the top 12 bits of its mantissa, less
// those of 1.0 (LogIndex in the kernels; integer operations only, no
// rounding). 16 octaves of 4096 steps: index i covers 1 + v from
// LogIndexStart(i) to LogIndexStart(i + 1), steps of (1 + v) / 4096, so
// every code has indices of its own (code 1 of gamma 2.2, v = 0.00074, is
// index 3). Entry i holds the number of code boundaries at or below the
// middle of its range less 1, where the boundary between codes c - 1 and c
// is the mean of their handed linear values (the nearer code in linear
// light); in sigmoidal light the boundary is that mean through the curve.
// A boundary that is not a number is never reached.
//
// Built once per forward table (by content): each call of Process holds the
// tables it uses; two sets are kept, and a set is rebuilt only when no call
// holds it. Compiled without AVX, in each HQ kernel library.
#pragma once
#include <stdint.h>

namespace kernel_hq {

constexpr int32_t CodeCount = 4097;                            // codes 0..4096
constexpr int32_t IndexCount = 65536;                          // log indices 0..65535
constexpr float LogIndexTop = 65534.0f;                        // sums above index as this one
constexpr int32_t LogIndexShift = 11;                          // 23 mantissa bits less 12
constexpr int32_t LogIndexBase = 0x3F800000 >> LogIndexShift;  // 1.0f's index bits

struct HqTables {
    alignas(128) float sigmoidForward[CodeCount];
    alignas(128) int16_t linearInverse[IndexCount];
    alignas(128) int16_t sigmoidInverse[IndexCount];
    alignas(128) float handed[CodeCount];  // the forward table they come from
    bool built;
    int32_t holders;  // calls of Process using them
};

// The tables for `toLinear` (4097 entries), built when no set matches; the
// caller holds them until ReleaseTables. Waits while both sets are held
// for other tables.
const HqTables &AcquireTables(const float *toLinear);
void ReleaseTables(const HqTables &tables);

}  // namespace kernel_hq
