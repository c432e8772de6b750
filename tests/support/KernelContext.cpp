#include "tests/support/KernelContext.h"

#include <xmmintrin.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

#include "kernels/common/KernelGeometry.h"
#include "resize/ContextSetup.h"
#include "resize/TileTables.h"
#include "resize/xmmutil.h"

namespace testing_support {
namespace {

constexpr uint8_t GuardFill = 0xA5;

void FillGuard(uint8_t *block, int32_t perThread, int32_t threads) {
    if (block)
        std::memset(block + ptrdiff_t{perThread} * threads, GuardFill, TKernelContext::GuardBytes);
}

bool GuardIntact(const uint8_t *block, int32_t perThread, int32_t threads) {
    if (!block) return true;
    const uint8_t *guard = block + ptrdiff_t{perThread} * threads;
    for (int32_t i = 0; i < TKernelContext::GuardBytes; ++i)
        if (guard[i] != GuardFill) return false;
    return true;
}

}  // namespace

const TGammaTables &SharedGammaTables() {
    struct TBuilt {
        TBuilt() { tables.BuildGammaTables(2.2); }
        TGammaTables tables;
    };
    static const TBuilt built;
    return built.tables;
}

TKernelContext::TKernelContext(const LinearFilterPluginInfo &kernel, const Geometry &geometry,
                               int32_t threads, TWeightSetter &setter)
    : FKernel(kernel), FThreads(threads) {
    Setup(geometry);
    BuildTables(FContext, kernel, setter);
    StartFrame();
}

TKernelContext::TKernelContext(const LinearFilterPluginInfo &kernel, const Geometry &geometry,
                               int32_t threads, const TapTable &columns, const TapTable &rows)
    : FKernel(kernel), FThreads(threads) {
    Setup(geometry);
    FillWeightTable(FContext.hWeights, columns, FContext.columnUnit);
    FillWeightTable(FContext.vWeights, rows, kernel.rowPitch);
    BuildTileTables(FContext, FKernel.tileWidth, FKernel.tileHeight, FKernel.rowPitch);
    StartFrame();
}

TKernelContext::~TKernelContext() { FreeContext(FContext); }

// The driver's own preparation, with guard zones behind the buffers.
void TKernelContext::Setup(const Geometry &g) {
    SetGeometry(FContext, FKernel,
                TGeometry{g.srcWidth, g.srcHeight, g.dstWidth, g.dstHeight,
                          g.maxWidth * kernel_geometry::PixelBytes});
    AllocateBuffers(FContext, FThreads, GuardBytes);
    FillGuard(FContext.stripBuffer, FContext.stripBufferSize, FThreads);
    FillGuard(FContext.rowBuffer, FContext.rowBufferSize, FThreads);
}

void TKernelContext::StartFrame() {
    const TGammaTables &tables = SharedGammaTables();
    FContext.toLinear = tables.GammaToLinear();
    FContext.fromLinear = tables.LinearToGamma();
    FContext.nextTile = 0;
}

bool TKernelContext::ScratchGuardsIntact() const {
    return GuardIntact(FContext.stripBuffer, FContext.stripBufferSize, FThreads) &&
           GuardIntact(FContext.rowBuffer, FContext.rowBufferSize, FThreads);
}

bool RunProcess(const LinearFilterPluginInfo &kernel, LinearFilterContext &context, void *dst,
                const void *src, int32_t threads, uint32_t callerMxcsr) {
    std::vector<std::thread> pool;
    std::vector<char> kept(size_t(threads), 0);
    pool.reserve(threads);
    for (int32_t i = 0; i < threads; ++i)
        pool.emplace_back([&, i] {
            const uint32_t own = _mm_getcsr();
            _mm_setcsr(callerMxcsr);
            kernel.Process(dst, src, &context, i, threads);
            kept[size_t(i)] = _mm_getcsr() == callerMxcsr;
            _mm_setcsr(own);
        });
    for (std::thread &t : pool) t.join();
    return std::all_of(kept.begin(), kept.end(), [](char k) { return k != 0; });
}

}  // namespace testing_support
