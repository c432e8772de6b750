#include "tests/support/KernelContext.h"

#include <cstring>
#include <thread>
#include <vector>

#include "resize/GammaTables.h"
#include "resize/TileTables.h"
#include "resize/xmmutil.h"

namespace testing_support {
namespace {

constexpr uint8_t GuardFill = 0xA5;

uint8_t *GuardedBuffers(int32_t perThread, int32_t threads) {
    if (perThread <= 0) return nullptr;
    const int32_t used = perThread * threads;
    auto *block = static_cast<uint8_t *>(AlignedGetMem(used + TKernelContext::GuardBytes, 128));
    std::memset(block + used, GuardFill, TKernelContext::GuardBytes);
    return block;
}

bool GuardIntact(const uint8_t *block, int32_t perThread, int32_t threads) {
    if (!block) return true;
    const uint8_t *guard = block + ptrdiff_t{perThread} * threads;
    for (int32_t i = 0; i < TKernelContext::GuardBytes; ++i)
        if (guard[i] != GuardFill) return false;
    return true;
}

template <typename T>
void FreeBlock(T *&p) {
    if (p) AlignedFreeMem(p);
    p = nullptr;
}

}  // namespace

TKernelContext::TKernelContext(const LinearFilterPluginInfo &kernel, const Geometry &geometry,
                               int32_t threads, TWeightSetter &setter)
    : FKernel(kernel), FThreads(threads) {
    Setup(geometry);
    LinearFilterContext &c = FContext;
    if (c.dstWidth < c.srcWidth)
        setter.SetReduceWeights(&c.hWeights, c.srcWidth, c.dstWidth, c.columnUnit);
    else
        setter.SetEnlargeWeights(&c.hWeights, c.srcWidth, c.dstWidth, c.columnUnit);
    if (c.dstHeight < c.srcHeight)
        setter.SetReduceWeights(&c.vWeights, c.srcHeight, c.dstHeight, kernel.rowPitch);
    else
        setter.SetEnlargeWeights(&c.vWeights, c.srcHeight, c.dstHeight, kernel.rowPitch);
    Finish();
}

TKernelContext::TKernelContext(const LinearFilterPluginInfo &kernel, const Geometry &geometry,
                               int32_t threads, const TapTable &columns, const TapTable &rows)
    : FKernel(kernel), FThreads(threads) {
    Setup(geometry);
    FillWeightTable(FContext.hWeights, columns, FContext.columnUnit);
    FillWeightTable(FContext.vWeights, rows, kernel.rowPitch);
    Finish();
}

TKernelContext::~TKernelContext() {
    FreeBlock(FContext.stripBuffer);
    FreeBlock(FContext.rowBuffer);
    FreeBlock(FContext.hTiles);
    FreeBlock(FContext.vTiles);
    FreeWeightTable(FContext.hWeights);
    FreeWeightTable(FContext.vWeights);
}

void TKernelContext::Setup(const Geometry &g) {
    LinearFilterContext &c = FContext;
    c.srcWidth = g.srcWidth;
    c.srcHeight = g.srcHeight;
    c.dstWidth = g.dstWidth;
    c.dstHeight = g.dstHeight;
    c.tilesAcross = (g.dstWidth + FKernel.tileWidth - 1) / FKernel.tileWidth;
    c.tilesDown = (g.dstHeight + FKernel.tileHeight - 1) / FKernel.tileHeight;
    c.tileCount = c.tilesAcross * c.tilesDown;
    c.srcPitch = g.maxWidth * 6;
    c.columnUnit = 48;
    c.dstPitch = g.maxWidth * 6;
    c.stripBufferSize = FKernel.GetStripBufferSize(&c, 8);
    c.stripBuffer = GuardedBuffers(c.stripBufferSize, FThreads);
    c.rowBufferSize = FKernel.GetRowBufferSize(&c, 8);
    c.rowBuffer = GuardedBuffers(c.rowBufferSize, FThreads);
    c.hTiles = static_cast<HorizontalTile *>(
        AlignedGetMem(int32_t(sizeof(HorizontalTile)) * c.tilesAcross, 16));
    c.vTiles =
        static_cast<VerticalTile *>(AlignedGetMem(int32_t(sizeof(VerticalTile)) * c.tilesDown, 16));
}

void TKernelContext::Finish() {
    BuildTileTables(FContext, FKernel.tileWidth, FKernel.tileHeight, FKernel.rowPitch);
    StartFrame();
}

void TKernelContext::StartFrame() {
    if (!GammaToLinear || !LinearToGamma) BuildGammaTables(2.2);
    FContext.toLinear = GammaToLinear;
    FContext.fromLinear = LinearToGamma;
    FContext.nextTile = 0;
}

bool TKernelContext::ScratchGuardsIntact() const {
    return GuardIntact(FContext.stripBuffer, FContext.stripBufferSize, FThreads) &&
           GuardIntact(FContext.rowBuffer, FContext.rowBufferSize, FThreads);
}

void RunProcess(const LinearFilterPluginInfo &kernel, LinearFilterContext &context, void *dst,
                const void *src, int32_t threads) {
    std::vector<std::thread> pool;
    pool.reserve(threads);
    for (int32_t i = 0; i < threads; ++i)
        pool.emplace_back([&, i] { kernel.Process(dst, src, &context, i, threads); });
    for (std::thread &t : pool) t.join();
}

}  // namespace testing_support
