// Prints the telling values of the linear-light tables and a few area-average
// weight tables, computed by the real code.
#include <cstdio>
#include <initializer_list>

#include "resize/AreaAverage.h"
#include "resize/GammaTables.h"
#include "resize/xmmutil.h"

namespace {

void PrintWeights(int src, int dst) {
    TAreaAverage builder;
    WeightTable table{nullptr, nullptr};
    if (dst < src)
        builder.SetReduceWeights(&table, src, dst, 48);
    else
        builder.SetEnlargeWeights(&table, src, dst, 48);
    std::printf("area average %d -> %d (unit 48)\n", src, dst);
    for (int i = 0; i < dst; ++i) {
        const WeightEntry &e = table.entries[i];
        const int count = reinterpret_cast<const int *>(e.weights)[-1];
        std::printf("  position %d: start %4d, first source %d, weights", i, e.start, e.start / 48);
        for (int k = 0; k < count; ++k) std::printf(" %.6f", e.weights[k]);
        std::printf("\n");
    }
    AlignedFreeMem(table.values);
    AlignedFreeMem(table.entries);
}

}  // namespace

int main() {
    BuildGammaTables(2.2);
    std::printf("gamma 2.2, code -> linear:\n");
    for (int i : {0, 1, 1024, 2048, 4095, 4096}) std::printf("  %4d -> %.5f\n", i, GammaToLinear[i]);
    std::printf("linear -> code:\n");
    for (int j : {0, 1, 1000, 14268, 32768, 65534, 65535})
        std::printf("  %5d -> %d\n", j, LinearToGamma[j]);
    FreeGammaTables();
    PrintWeights(5, 2);
    PrintWeights(2, 3);
    PrintWeights(3, 2);
    return 0;
}
