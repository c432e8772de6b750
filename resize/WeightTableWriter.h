// The one writer of the weight record the kernels read (TapCount): per output
// position an int32 tap count and then its float32 weights, back to back in
// the table's value block.
#pragma once
#include <cstdint>

#include "abi/LinearFilter.h"

class TWeightTableWriter {
public:
    // Fills `table` with its two blocks (AlignedGetMem, alignment 8), sized
    // for `positions` output positions of at most `maxTaps` taps each; a
    // `start` is the first source position times `unit`. Throws
    // std::bad_alloc when a block's size cannot be had.
    TWeightTableWriter(WeightTable &table, int32_t positions, int64_t maxTaps, int32_t unit);

    // Begins the next position: `count` (1 ... maxTaps) taps from source
    // position `first`. Returns where its weights go.
    float *Next(int32_t first, int32_t count);

private:
    WeightEntry *FEntry;
    char *FCursor;
    int32_t FUnit;
};
