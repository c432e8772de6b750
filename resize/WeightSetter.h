// Builders of one direction's weight table.
#pragma once
#include <cstdint>

#include "abi/LinearFilter.h"

// The largest radius, in source samples at the output's scale, that a weight
// builder may use: the kernels' row buffers are sized for it, and a window
// function asking for more is refused.
constexpr int32_t MaxFilterRadius = 8;

// Fills `table` with freshly allocated blocks (AlignedGetMem, alignment 8) for
// dstSize output positions from srcSize source positions; `start` of every
// entry is the first source position times `unit`. The caller frees both
// blocks and has emptied the table before.
class TWeightSetter {
public:
    // Only called with dstSize < srcSize.
    virtual void SetReduceWeights(WeightTable *table, int32_t srcSize, int32_t dstSize,
                                  int32_t unit) = 0;
    // Only called with dstSize >= srcSize.
    virtual void SetEnlargeWeights(WeightTable *table, int32_t srcSize, int32_t dstSize,
                                   int32_t unit) = 0;
    virtual ~TWeightSetter() = default;
};
