// The built-in area average (AreaAverageName): each output pixel is the mean of
// the source area it covers.
#pragma once
#include "plugins/ConfigResolver.h"  // AreaAverageName
#include "resize/WeightSetter.h"

class TAreaAverage : public TWeightSetter {
public:
    void SetReduceWeights(WeightTable *table, int32_t srcSize, int32_t dstSize,
                          int32_t unit) override;
    void SetEnlargeWeights(WeightTable *table, int32_t srcSize, int32_t dstSize,
                           int32_t unit) override;
};
