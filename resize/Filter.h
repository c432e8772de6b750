// The resize driver: prepares weight tables, tile tables and per-thread
// buffers once per geometry and has the kernel plug-in process each frame on
// the host's worker threads. It works on plain values; the host's records
// stay with the host.
#pragma once
#include <cstdint>
#include <memory>

#include "abi/LinearFilter.h"
#include "resize/GammaTables.h"
#include "resize/WeightSetter.h"

// One frame's pixels: two frame memories of `lines` lines of `pitch` bytes.
struct TFramePixels {
    const void *source;  // the image to resize, from its first line
    void *destination;   // where the resized image goes
    int32_t pitch;       // bytes per line, both memories
    int32_t lines;       // lines each memory holds
};

struct TFrameSize {
    int32_t width;
    int32_t height;
};

// Runs `work(threadIndex, threadCount, param)` once on every worker thread
// and returns when all of them have finished.
using TWorkerFunc = void (*)(int32_t threadIndex, int32_t threadCount, void *param);
class TWorkers {
public:
    virtual void RunOnAll(TWorkerFunc work, void *param) = 0;

protected:
    ~TWorkers() = default;
};

class TFilter {
public:
    // Reads `tables` at every frame; their owner keeps them for the driver's
    // life. Twice the processors, at most 64.
    explicit TFilter(const TGammaTables &tables);
    // Tests choose the slot count.
    TFilter(const TGammaTables &tables, int32_t threadSlots);
    virtual ~TFilter();
    TFilter(const TFilter &) = delete;
    TFilter &operator=(const TFilter &) = delete;

    // Takes ownership (null allowed) and forgets the prepared geometry.
    void SetWeightSetter(TWeightSetter *setter);
    // Not owned; the kernel list keeps it loaded.
    void SetKernel(const LinearFilterPluginInfo *kernel);
    // Resizes `source` to `target` into frame.destination. False when the
    // frame is to pass unchanged: nothing to do, a size the frame memory
    // cannot hold, or a preparation that failed (out of memory included);
    // the next frame prepares again. Never throws.
    bool ResizeFrame(TFrameSize source, TFrameSize target, const TFramePixels &frame,
                     TWorkers &workers) noexcept;

    void FreeBuffers();

    // Twice the processors, at most 64, at least 1.
    static int32_t ThreadSlotsFor(int processorCount);
    int32_t ThreadCount() const { return FThreadCount; }
    // Slots the prepared geometry has buffers for: no more than its tiles.
    int32_t PreparedSlots() const { return FPreparedSlots; }
    const LinearFilterContext &Context() const { return FContext; }

private:
    bool IsPrepared(TFrameSize source, TFrameSize target, int32_t pitch) const;
    void Prepare(TFrameSize source, TFrameSize target, int32_t pitch);
    static void Work(int32_t threadIndex, int32_t threadCount, void *param);

    const TGammaTables &FGammaTables;
    int32_t FThreadCount;
    std::unique_ptr<TWeightSetter> FWeightSetter;
    bool FHasWeightSetter = false;
    LinearFilterContext FContext{};
    const LinearFilterPluginInfo *FKernel = nullptr;
    int32_t FPreparedSlots = 0;
    // Frame pointers of the frame in hand, for the workers.
    const void *FSource = nullptr;
    void *FDestination = nullptr;
};
