#include "resize/AreaAverage.h"

#include <cstdint>

#include "resize/WeightTableWriter.h"

namespace {

// The units of 1/D source pixel that output position i covers. 64-bit: D × S
// reaches 2^31 for large frames.
struct Cover {
    int32_t first;  // first source position
    int32_t n;      // taps - 1
    int64_t head;   // units of the first source position covered
    int64_t tail;   // units of the last
};

Cover CoverOf(int32_t i, int32_t srcSize, int32_t dstSize) {
    const int64_t lo = int64_t(i) * srcSize;
    const int64_t hi = int64_t(i + 1) * srcSize - 1;
    Cover c;
    c.first = int32_t(lo / dstSize);
    c.n = int32_t(hi / dstSize) - c.first;
    c.head = dstSize - lo % dstSize;
    c.tail = hi % dstSize + 1;
    return c;
}

}  // namespace

void TAreaAverage::SetReduceWeights(WeightTable *table, int32_t srcSize, int32_t dstSize,
                                    int32_t unit) {
    const int64_t ceilRatio = (int64_t(srcSize) + dstSize - 1) / dstSize;
    // S / D source pixels touch at most ceil(S / D) + 1 of them.
    TWeightTableWriter writer(*table, dstSize, ceilRatio + 1, unit);
    const double m = double(dstSize) / double(srcSize);
    for (int32_t i = 0; i < dstSize; ++i) {
        const Cover c = CoverOf(i, srcSize, dstSize);
        float *w = writer.Next(c.first, c.n + 1);
        w[0] = float(double(c.head) / srcSize);
        for (int32_t k = 1; k < c.n; ++k) w[k] = float(m);
        w[c.n] = float(double(c.tail) / srcSize);
    }
}

void TAreaAverage::SetEnlargeWeights(WeightTable *table, int32_t srcSize, int32_t dstSize,
                                     int32_t unit) {
    TWeightTableWriter writer(*table, dstSize, 2, unit);
    for (int32_t i = 0; i < dstSize; ++i) {
        const Cover c = CoverOf(i, srcSize, dstSize);
        float *w = writer.Next(c.first, c.n + 1);
        const double a0 = double(c.head) / srcSize;
        const double a1 = c.n == 1 ? double(c.tail) / srcSize : 0.0;
        w[0] = float(a0 / (a0 + a1));
        if (c.n == 1) w[1] = float(a1 / (a0 + a1));
    }
}
