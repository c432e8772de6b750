// A LinearFilterContext prepared for one geometry with the driver's own
// preparation (sizes, pitch, per-thread buffers of the kernel's own sizes,
// weight tables, tile tables), for testing and benchmarking kernels directly.
#pragma once
#include <cstdint>

#include "abi/LinearFilter.h"
#include "resize/GammaTables.h"
#include "resize/WeightSetter.h"
#include "tests/support/TapTables.h"

namespace testing_support {

// The gamma 2.2 tables the tests share, built on first use and kept until
// the program ends.
const TGammaTables &SharedGammaTables();

struct Geometry {
    int32_t srcWidth;
    int32_t srcHeight;
    int32_t dstWidth;
    int32_t dstHeight;
    int32_t maxWidth;  // pixels per frame line (the host's max_w)
};

class TKernelContext {
public:
    // Weights from a builder, reduce or enlarge per direction as the driver
    // chooses them.
    TKernelContext(const LinearFilterPluginInfo &kernel, const Geometry &geometry, int32_t threads,
                   TWeightSetter &setter);
    // Explicit taps: one list per destination column and per destination row.
    TKernelContext(const LinearFilterPluginInfo &kernel, const Geometry &geometry, int32_t threads,
                   const TapTable &columns, const TapTable &rows);
    ~TKernelContext();
    TKernelContext(const TKernelContext &) = delete;
    TKernelContext &operator=(const TKernelContext &) = delete;

    LinearFilterContext &Context() { return FContext; }
    int32_t Threads() const { return FThreads; }
    // Points the context at the shared gamma 2.2 tables and
    // resets the tile counter, as the driver does before every frame.
    void StartFrame();
    // The guard bytes behind the strip buffers and behind the row buffers
    // still hold their fill pattern.
    bool ScratchGuardsIntact() const;

    // Bytes of pattern behind each block of per-thread buffers.
    static constexpr int32_t GuardBytes = 8192;

private:
    void Setup(const Geometry &geometry);

    const LinearFilterPluginInfo &FKernel;
    int32_t FThreads;
    LinearFilterContext FContext{};
};

// The floating-point state a thread starts with: round to nearest, no
// flush-to-zero, no denormals-are-zero, every exception masked.
constexpr uint32_t DefaultMxcsr = 0x1F80;

// Runs the kernel's Process on `threads` std::threads, thread i with index i,
// all sharing the context's tile counter, each calling with `callerMxcsr`
// set; returns when all have finished, true when every caller's MXCSR was
// the same afterwards.
bool RunProcess(const LinearFilterPluginInfo &kernel, LinearFilterContext &context, void *dst,
                const void *src, int32_t threads, uint32_t callerMxcsr = DefaultMxcsr);

}  // namespace testing_support
