#include "resize/Filter.h"

#include <new>
#include <stdexcept>

#include "kernels/common/KernelGeometry.h"
#include "platform/Processors.h"
#include "platform/VectorState.h"
#include "resize/ContextSetup.h"
#include "resize/FpuPrecision.h"

namespace {
constexpr int32_t MaxThreadSlots = 64;
}  // namespace

int32_t TFilter::ThreadSlotsFor(int processorCount) {
    const int32_t slots = 2 * (processorCount < 1 ? 1 : processorCount);
    return slots > MaxThreadSlots ? MaxThreadSlots : slots;
}

TFilter::TFilter(const TGammaTables &tables)
    : TFilter(tables, ThreadSlotsFor(platform::ProcessorCount())) {}

TFilter::TFilter(const TGammaTables &tables, int32_t threadSlots)
    : FGammaTables(tables), FThreadCount(threadSlots < 1 ? 1 : threadSlots) {}

TFilter::~TFilter() { FreeBuffers(); }

void TFilter::SetWeightSetter(TWeightSetter *setter) {
    FWeightSetter.reset(setter);
    FHasWeightSetter = setter != nullptr;
    FreeBuffers();
}

void TFilter::SetKernel(const LinearFilterPluginInfo *kernel) { FKernel = kernel; }

bool TFilter::IsPrepared(TFrameSize source, TFrameSize target, int32_t pitch) const {
    // The line pitch belongs to the cache key.
    return source.width == FContext.srcWidth && source.height == FContext.srcHeight &&
           target.width == FContext.dstWidth && target.height == FContext.dstHeight &&
           pitch == FContext.srcPitch;
}

void TFilter::Prepare(TFrameSize source, TFrameSize target, int32_t pitch) {
    TDoublePrecision precision;
    FreeBuffers();
    try {
        SetGeometry(FContext, *FKernel,
                    TGeometry{source.width, source.height, target.width, target.height, pitch});
        // A thread without a tile never touches its buffers.
        FPreparedSlots = FContext.tileCount < FThreadCount ? FContext.tileCount : FThreadCount;
        AllocateBuffers(FContext, FPreparedSlots);
        BuildTables(FContext, *FKernel, *FWeightSetter);
        if (!TilesFitBuffers(FContext, FKernel->rowPitch))
            throw std::logic_error("tile tables beyond the kernel's buffers");
    } catch (...) {
        // Never leave a half-prepared geometry for the next frame to run on.
        FreeBuffers();
        throw;
    }
}

bool TFilter::ResizeFrame(TFrameSize source, TFrameSize target, const TFramePixels &frame,
                          TWorkers &workers) noexcept {
    if (target.width == source.width && target.height == source.height) return false;
    if (!FHasWeightSetter || !FKernel || !FGammaTables.Built()) return false;
    // A size restored from a project may be anything; one the host's frame
    // memory cannot hold passes the frame through instead of overrunning it.
    const int64_t lineBytes = int64_t{target.width} * kernel_geometry::PixelBytes;
    if (target.width < 1 || target.height < 1 || lineBytes > frame.pitch ||
        target.height > frame.lines || source.width < 1 || source.height < 1)
        return false;
    try {
        if (!IsPrepared(source, target, frame.pitch)) Prepare(source, target, frame.pitch);
    } catch (...) {
        return false;
    }
    FContext.toLinear = FGammaTables.GammaToLinear();
    FContext.fromLinear = FGammaTables.LinearToGamma();
    FContext.nextTile = 0;
    FSource = frame.source;
    FDestination = frame.destination;
    workers.RunOnAll(&TFilter::Work, this);
    return true;
}

void TFilter::FreeBuffers() {
    FreeContext(FContext);
    FPreparedSlots = 0;
}

void TFilter::Work(int32_t threadIndex, int32_t threadCount, void *param) {
    TFilter *self = static_cast<TFilter *>(param);
    const int32_t slots = self->FPreparedSlots;
    int32_t n = threadCount;
    if (threadCount > slots) {
        n = slots;
        // Buffers exist for the prepared slots only.
        if (threadIndex >= slots) return;
    }
    // Tessolk cannot clear the upper halves itself: it must run where AVX
    // does not exist.
    platform::ClearUpperVectorHalves();
    self->FKernel->Process(self->FDestination, self->FSource, &self->FContext, threadIndex, n);
}
