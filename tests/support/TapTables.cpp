#include "tests/support/TapTables.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "resize/xmmutil.h"

namespace testing_support {
namespace {

double Centre(int32_t i, int32_t srcSize, int32_t dstSize) {
    return (i + 0.5) * srcSize / dstSize - 0.5;
}

// `count` weights summing to 1; with `negative`, some are below 0 and some
// above 1, so filtered values leave the input range.
std::vector<float> RandomWeights(int32_t count, bool negative, std::mt19937 &rng) {
    std::uniform_real_distribution<double> pick(negative ? -0.6 : 0.05, negative ? 1.4 : 1.0);
    for (;;) {
        std::vector<double> w(count);
        double sum = 0;
        for (double &v : w) sum += (v = pick(rng));
        if (std::fabs(sum) < 0.25) continue;
        std::vector<float> out(count);
        for (int32_t k = 0; k < count; ++k) out[k] = float(w[k] / sum);
        return out;
    }
}

}  // namespace

void FillWeightTable(WeightTable &table, const TapTable &taps, int32_t unit) {
    size_t bytes = 0;
    for (const TapList &t : taps) bytes += 4 * (t.weights.size() + 1);
    auto *values = static_cast<uint8_t *>(AlignedGetMem(int32_t(bytes), 8));
    auto *entries =
        static_cast<WeightEntry *>(AlignedGetMem(int32_t(taps.size() * sizeof(WeightEntry)), 8));
    uint8_t *cursor = values;
    for (size_t i = 0; i < taps.size(); ++i) {
        const int32_t count = int32_t(taps[i].weights.size());
        std::memcpy(cursor, &count, 4);
        std::memcpy(cursor + 4, taps[i].weights.data(), 4 * size_t(count));
        entries[i].start = taps[i].first * unit;
        entries[i].weights = reinterpret_cast<float *>(cursor + 4);
        cursor += 4 * (size_t(count) + 1);
    }
    table.values = values;
    table.entries = entries;
}

void FreeWeightTable(WeightTable &table) {
    if (table.values) AlignedFreeMem(table.values);
    if (table.entries) AlignedFreeMem(table.entries);
    table = WeightTable{nullptr, nullptr};
}

TapTable SingleTaps(int32_t srcSize, int32_t dstSize) {
    TapTable out(dstSize);
    for (int32_t i = 0; i < dstSize; ++i)
        out[i] = TapList{int32_t(int64_t{i} * srcSize / dstSize), {1.0f}};
    return out;
}

TapTable RandomTaps(int32_t srcSize, int32_t dstSize, double radius, std::mt19937 &rng,
                    bool fullReach) {
    std::uniform_real_distribution<double> reach(0.0, radius);
    TapTable out(dstSize);
    int32_t prevFirst = 0, prevLast = 0;
    for (int32_t i = 0; i < dstSize; ++i) {
        const double c = Centre(i, srcSize, dstSize);
        const double left = fullReach ? radius : reach(rng);
        const double right = fullReach ? radius : reach(rng);
        int32_t first = std::clamp(int32_t(std::ceil(c - left)), 0, srcSize - 1);
        first = std::max(first, prevFirst);
        int32_t last = std::clamp(int32_t(std::floor(c + right)), 0, srcSize - 1);
        last = std::max({last, first, prevLast});
        out[i] = TapList{first, RandomWeights(last - first + 1, true, rng)};
        prevFirst = first;
        prevLast = last;
    }
    return out;
}

TapTable FixedTaps(int32_t srcSize, int32_t dstSize, int32_t count, std::mt19937 &rng,
                   bool negative) {
    count = std::min(count, srcSize);
    TapTable out(dstSize);
    for (int32_t i = 0; i < dstSize; ++i) {
        const int32_t centre = int32_t(std::floor(Centre(i, srcSize, dstSize)));
        const int32_t first = std::clamp(centre - count / 2 + 1, 0, srcSize - count);
        out[i] = TapList{first, RandomWeights(count, negative, rng)};
    }
    return out;
}

TapTable TapsFrom(TWeightSetter &setter, int32_t srcSize, int32_t dstSize) {
    WeightTable table{nullptr, nullptr};
    if (dstSize < srcSize)
        setter.SetReduceWeights(&table, srcSize, dstSize, 1);
    else
        setter.SetEnlargeWeights(&table, srcSize, dstSize, 1);
    TapTable out(dstSize);
    for (int32_t i = 0; i < dstSize; ++i) {
        const WeightEntry &e = table.entries[i];
        const int32_t count = reinterpret_cast<const int32_t *>(e.weights)[-1];
        out[i] = TapList{e.start, std::vector<float>(e.weights, e.weights + count)};
    }
    FreeWeightTable(table);
    return out;
}

}  // namespace testing_support
