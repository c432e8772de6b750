// Reading weight tables in tests.
#pragma once
#include <cstdint>
#include <vector>

#include "abi/LinearFilter.h"
#include "resize/WeightSetter.h"
#include "resize/xmmutil.h"

namespace testing_support {

// The weights of one output position, read through its entry as a kernel does.
inline std::vector<float> TapsOf(const WeightTable &table, int32_t position) {
    const WeightEntry &e = table.entries[position];
    const int32_t count = reinterpret_cast<const int32_t *>(e.weights)[-1];
    return std::vector<float>(e.weights, e.weights + count);
}

// A table whose blocks are freed with it.
struct OwnedWeightTable {
    WeightTable table{nullptr, nullptr};
    int32_t count = 0;
    OwnedWeightTable() = default;
    OwnedWeightTable(const OwnedWeightTable &) = delete;
    OwnedWeightTable(OwnedWeightTable &&o) noexcept : table(o.table), count(o.count) {
        o.table = {nullptr, nullptr};
    }
    ~OwnedWeightTable() {
        if (table.values) AlignedFreeMem(table.values);
        if (table.entries) AlignedFreeMem(table.entries);
    }
};

// One direction's table as the driver builds it: reduction below the source
// size, enlargement otherwise.
inline OwnedWeightTable BuildTable(TWeightSetter &builder, int32_t src, int32_t dst, int32_t unit) {
    OwnedWeightTable t;
    if (dst < src)
        builder.SetReduceWeights(&t.table, src, dst, unit);
    else
        builder.SetEnlargeWeights(&t.table, src, dst, unit);
    t.count = dst;
    return t;
}

}  // namespace testing_support
