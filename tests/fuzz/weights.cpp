// The weight builders on sizes 1 ... 8192, with the area average and with a
// window function whose radius and values come from the input (a hostile
// plug-in may return anything). Every table must be safe for a kernel to read.
#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/allocator_interface.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "resize/AreaAverage.h"
#include "resize/NormalWeightSetter.h"
#include "tests/support/WeightTableView.h"

namespace {

struct TWindow {
    int32_t radius;
    std::vector<double> values;  // sampled over 0 ... radius + 1 by |distance|
};

TWindow TheWindow;

void *CreateContext(int32_t) { return &TheWindow; }
int32_t GetRadius(void *context) { return static_cast<TWindow *>(context)->radius; }
void DestroyContext(void *) {}
double Weight(double distance, void *context) {
    const auto &w = *static_cast<TWindow *>(context);
    const double at = std::fabs(distance) * double(w.values.size()) / (w.radius + 1);
    return w.values[at < double(w.values.size()) ? std::size_t(at) : w.values.size() - 1];
}

const WindowFuncPluginInfo TheInfo{"Fuzz", nullptr,       0,      0,         0,
                                   0,      CreateContext, Weight, GetRadius, DestroyContext};

void Fail(const char *what, int32_t src, int32_t dst, int32_t position) {
    std::fprintf(stderr, "weights %d -> %d, position %d: %s\n", src, dst, position, what);
    std::abort();
}

// Usable bytes of an aligned block, from the raw allocation kept before it.
std::size_t BlockBytes(const void *block) {
    const char *raw;
    std::memcpy(&raw, static_cast<const char *>(block) - sizeof(raw), sizeof(raw));
    return __sanitizer_get_allocated_size(raw) -
           std::size_t(static_cast<const char *>(block) - raw);
}

void CheckTable(const WeightTable &table, int32_t src, int32_t dst, int32_t unit) {
    const char *block = static_cast<const char *>(table.values);
    const std::size_t blockBytes = BlockBytes(block);
    if (BlockBytes(table.entries) < sizeof(WeightEntry) * std::size_t(dst))
        Fail("entry block too small", src, dst, -1);
    const char *next = block;  // records lie back to back
    int32_t lastFirst = 0, lastEnd = 0;
    for (int32_t i = 0; i < dst; ++i) {
        const WeightEntry &e = table.entries[i];
        const char *record = reinterpret_cast<const char *>(e.weights) - 4;
        if (record != next) Fail("record not after the previous one", src, dst, i);
        if (std::size_t(record + 4 - block) > blockBytes) Fail("count outside block", src, dst, i);
        int32_t n;
        std::memcpy(&n, record, 4);
        if (n < 1 || n > src) Fail("tap count", src, dst, i);
        next = record + 4 + 4 * std::size_t(n);
        if (std::size_t(next - block) > blockBytes) Fail("weights outside block", src, dst, i);
        if (e.start % unit != 0) Fail("start not a multiple of the unit", src, dst, i);
        const int32_t first = e.start / unit, end = first + n;
        if (first < 0 || end > src) Fail("taps outside the source", src, dst, i);
        if (first < lastFirst || end < lastEnd) Fail("taps move backwards", src, dst, i);
        lastFirst = first, lastEnd = end;
        double sum = 0, magnitude = 0;
        for (int32_t k = 0; k < n; ++k) {
            if (!std::isfinite(e.weights[k])) Fail("weight not finite", src, dst, i);
            sum += e.weights[k];
            magnitude += std::fabs(e.weights[k]);
        }
        // Each float weight is off by at most half an ulp of its size.
        if (std::fabs(sum - 1) > 1e-7 * (n + 1) * std::fmax(magnitude, 1))
            Fail("weights do not sum to 1", src, dst, i);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int32_t src = in.ConsumeIntegralInRange<int32_t>(1, 8192);
    const int32_t dst = in.ConsumeIntegralInRange<int32_t>(1, 8192);
    const int32_t unit = in.PickValueInArray({1, 48, 896});
    std::unique_ptr<TWeightSetter> builder;
    if (in.ConsumeBool()) {
        builder = std::make_unique<TAreaAverage>();
    } else {
        // Radius 0 and 9 lie outside what the builder takes: it must refuse
        // them and still give valid tables.
        TheWindow = {in.ConsumeIntegralInRange<int32_t>(0, 9), {}};
        while (in.remaining_bytes() >= sizeof(double) && TheWindow.values.size() < 64) {
            double v;
            const auto bytes = in.ConsumeBytes<uint8_t>(sizeof(v));
            std::memcpy(&v, bytes.data(), sizeof(v));
            TheWindow.values.push_back(v);
        }
        if (TheWindow.values.empty()) TheWindow.values.push_back(1.0);
        auto normal = std::make_unique<TNormalWeightSetter>();
        normal->SetWindowFunc(&TheInfo, 0);
        builder = std::move(normal);
    }
    const auto table = testing_support::BuildTable(*builder, src, dst, unit);
    CheckTable(table.table, src, dst, unit);
    return 0;
}
