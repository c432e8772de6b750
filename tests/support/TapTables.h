// Weight tables for kernel tests, from explicit tap lists: hand-written ones,
// seeded random valid ones, and the layout a weight builder produces.
#pragma once
#include <cstdint>
#include <random>
#include <vector>

#include "abi/LinearFilter.h"
#include "resize/WeightSetter.h"

namespace testing_support {

// The taps of one output position: first source position and its weights.
struct TapList {
    int32_t first;
    std::vector<float> weights;
};
using TapTable = std::vector<TapList>;  // one per output position

// Allocates and fills `table` (AlignedGetMem, alignment 8) as a builder does:
// count-then-weights records back to back, `start` = first × unit.
void FillWeightTable(WeightTable &table, const TapTable &taps, int32_t unit);
// Frees both blocks of a table filled by a builder or FillWeightTable.
void FreeWeightTable(WeightTable &table);

// Every position one tap of 1.0 at first = i × srcSize / dstSize.
TapTable SingleTaps(int32_t srcSize, int32_t dstSize);

// Random valid taps: each output position i reaches from its centre
// c = (i + 0.5) × srcSize / dstSize − 0.5 a random distance of at most
// `radius` source positions to either side (so 1 to 2 × radius + 1 taps),
// clipped to the source; first and last taps never decrease. Weights are
// random with negative ones, summing to 1. With `fullReach` every position
// reaches the whole radius to both sides, as a window function does.
TapTable RandomTaps(int32_t srcSize, int32_t dstSize, double radius, std::mt19937 &rng,
                    bool fullReach = false);

// `count` taps per position (fewer if the source is smaller) around the
// centre, with random weights summing to 1 (some negative with `negative`).
TapTable FixedTaps(int32_t srcSize, int32_t dstSize, int32_t count, std::mt19937 &rng,
                   bool negative = false);

// The taps that `setter` builds for one direction (reduce or enlarge as the
// driver chooses), read back into a list.
TapTable TapsFrom(TWeightSetter &setter, int32_t srcSize, int32_t dstSize);

}  // namespace testing_support
