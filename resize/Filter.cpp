#include "resize/Filter.h"

#include <cstring>

#include "platform/Processors.h"
#include "resize/FpuPrecision.h"
#include "resize/GammaTables.h"
#include "resize/TileTables.h"
#include "resize/xmmutil.h"

namespace {
constexpr int32_t PixelBytes = 6;   // one PIXEL_YC
constexpr int32_t ColumnUnit = 48;  // strip-buffer bytes per source column
constexpr int32_t MaxRadius = 8;    // the largest filter radius buffers must hold
constexpr int32_t MaxThreadSlots = 64;

void FreeIfSet(void *block) {
    if (block) AlignedFreeMem(block);
}

// Per-thread blocks: `size` bytes for each of `threads` slots, or none.
uint8_t *ThreadBlocks(int32_t size, int32_t threads) {
    if (size <= 0) return nullptr;
    if (int64_t(size) * threads > INT32_MAX) throw std::bad_alloc();
    return static_cast<uint8_t *>(AlignedGetMem(size * threads, 128));
}
}  // namespace

int32_t TFilter::ThreadSlotsFor(int processorCount) {
    const int32_t slots = 2 * (processorCount < 1 ? 1 : processorCount);
    return slots > MaxThreadSlots ? MaxThreadSlots : slots;
}

TFilter::TFilter(const TFilterConfig &config)
    : FConfig(config), FThreadCount(ThreadSlotsFor(platform::ProcessorCount())) {}

TFilter::~TFilter() { FreeBuffers(); }

void TFilter::SetWeightSetter(TWeightSetter *setter) {
    FWeightSetter.reset(setter);
    FHasWeightSetter = setter != nullptr;
    FreeBuffers();
}

void TFilter::SetKernel(const LinearFilterPluginInfo *kernel) { FKernel = kernel; }

bool TFilter::IsPrepared(const FILTER_PROC_INFO &fpip, int32_t w, int32_t h) const {
    return fpip.w == FContext.srcWidth && fpip.h == FContext.srcHeight &&
           w == FContext.dstWidth && h == FContext.dstHeight && fpip.max_w == FPreparedMaxWidth;
}

void TFilter::Prepare(const FILTER_PROC_INFO &fpip, int32_t w, int32_t h) {
    TDoublePrecision precision;
    FreeBuffers();
    try {
        Setup(fpip.w, fpip.h, w, h, fpip.max_w);
        BuildTables();
    } catch (...) {
        // Never leave a half-prepared geometry for the next frame to run on.
        FreeBuffers();
        throw;
    }
    FPreparedMaxWidth = fpip.max_w;
}

BOOL TFilter::ResizeFrame(FILTER *fp, FILTER_PROC_INFO *fpip) {
    const int32_t w = FConfig.Width;
    const int32_t h = FConfig.Height;
    if (w == fpip->w && h == fpip->h) return TRUE;
    if (!FHasWeightSetter || !FKernel) return TRUE;
    // A size restored from a project may be anything; one the host's frame
    // memory cannot hold passes the frame through instead of overrunning it.
    if (w < 1 || h < 1 || w > fpip->max_w || h > fpip->max_h) return TRUE;
    if (!IsPrepared(*fpip, w, h)) Prepare(*fpip, w, h);

    FContext.toLinear = GammaToLinear;
    FContext.fromLinear = LinearToGamma;
    FContext.nextTile = 0;
    fp->exfunc->exec_multi_thread_func(&TFilter::ResizeThreadProc, this, fpip);

    PIXEL_YC *resized = fpip->ycp_temp;
    fpip->ycp_temp = fpip->ycp_edit;
    fpip->ycp_edit = resized;
    fpip->w = w;
    fpip->h = h;
    return TRUE;
}

void TFilter::Setup(int32_t srcWidth, int32_t srcHeight, int32_t dstWidth, int32_t dstHeight,
                    int32_t maxWidth) {
    LinearFilterContext &c = FContext;
    c.srcWidth = srcWidth;
    c.srcHeight = srcHeight;
    c.dstWidth = dstWidth;
    c.dstHeight = dstHeight;
    c.tilesAcross = (dstWidth + TileWidth() - 1) / TileWidth();
    c.tilesDown = (dstHeight + TileHeight() - 1) / TileHeight();
    c.tileCount = c.tilesAcross * c.tilesDown;
    c.srcPitch = maxWidth * PixelBytes;
    c.columnUnit = ColumnUnit;
    c.dstPitch = maxWidth * PixelBytes;
    c.stripBufferSize = FKernel->GetStripBufferSize(&c, MaxRadius);
    c.stripBuffer = ThreadBlocks(c.stripBufferSize, FThreadCount);
    c.rowBufferSize = FKernel->GetRowBufferSize(&c, MaxRadius);
    c.rowBuffer = ThreadBlocks(c.rowBufferSize, FThreadCount);
    c.hTiles = static_cast<HorizontalTile *>(
        AlignedGetMem(int32_t(sizeof(HorizontalTile)) * c.tilesAcross, 16));
    c.vTiles = static_cast<VerticalTile *>(
        AlignedGetMem(int32_t(sizeof(VerticalTile)) * c.tilesDown, 16));
}

void TFilter::BuildTables() {
    LinearFilterContext &c = FContext;
    if (c.dstWidth < c.srcWidth)
        FWeightSetter->SetReduceWeights(&c.hWeights, c.srcWidth, c.dstWidth, c.columnUnit);
    else
        FWeightSetter->SetEnlargeWeights(&c.hWeights, c.srcWidth, c.dstWidth, c.columnUnit);
    if (c.dstHeight < c.srcHeight)
        FWeightSetter->SetReduceWeights(&c.vWeights, c.srcHeight, c.dstHeight, FKernel->rowPitch);
    else
        FWeightSetter->SetEnlargeWeights(&c.vWeights, c.srcHeight, c.dstHeight, FKernel->rowPitch);
    BuildTileTables(c, TileWidth(), TileHeight(), FKernel->rowPitch);
}

void TFilter::FreeBuffers() {
    LinearFilterContext &c = FContext;
    FreeIfSet(c.stripBuffer);
    FreeIfSet(c.rowBuffer);
    FreeIfSet(c.hTiles);
    FreeIfSet(c.vTiles);
    FreeIfSet(c.hWeights.values);
    FreeIfSet(c.hWeights.entries);
    FreeIfSet(c.vWeights.values);
    FreeIfSet(c.vWeights.entries);
    std::memset(&c, 0, sizeof c);
    FPreparedMaxWidth = 0;
}

void TFilter::RunKernel(void *dst, const void *src, int32_t threadIndex, int32_t threadCount) {
    FKernel->Process(dst, src, &FContext, threadIndex, threadCount);
}

void MV_CDECL TFilter::ResizeThreadProc(int thread_id, int thread_num, void *param1,
                                        void *param2) {
    TFilter *self = static_cast<TFilter *>(param1);
    const FILTER_PROC_INFO *fpip = static_cast<const FILTER_PROC_INFO *>(param2);
    int32_t n = thread_num;
    if (thread_num > self->FThreadCount) {
        n = self->FThreadCount;
        // Buffers exist for FThreadCount slots only.
        if (thread_id >= self->FThreadCount) return;
    }
    self->RunKernel(fpip->ycp_temp, fpip->ycp_edit, thread_id, n);
}
