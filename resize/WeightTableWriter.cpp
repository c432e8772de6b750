#include "resize/WeightTableWriter.h"

#include <cstring>
#include <new>

#include "resize/xmmutil.h"

namespace {

// A block size that AlignedGetMem's int32 argument can carry.
int32_t BlockBytes(int64_t bytes) {
    if (bytes > INT32_MAX) throw std::bad_alloc();
    return int32_t(bytes);
}

}  // namespace

TWeightTableWriter::TWeightTableWriter(WeightTable &table, int32_t positions, int64_t maxTaps,
                                       int32_t unit)
    : FUnit(unit) {
    const int64_t n = positions > 0 ? positions : 0;
    const int32_t valueBytes = BlockBytes(n * (4 + 4 * maxTaps));
    const int32_t entryBytes = BlockBytes(n * int64_t(sizeof(WeightEntry)));
    table.values = AlignedGetMem(valueBytes, 8);
    table.entries = static_cast<WeightEntry *>(AlignedGetMem(entryBytes, 8));
    FEntry = table.entries;
    FCursor = static_cast<char *>(table.values);
}

float *TWeightTableWriter::Next(int32_t first, int32_t count) {
    std::memcpy(FCursor, &count, 4);
    float *weights = reinterpret_cast<float *>(FCursor + 4);
    FEntry->start = first * FUnit;
    FEntry->weights = weights;
    ++FEntry;
    FCursor += 4 + 4 * int64_t(count);
    return weights;
}
