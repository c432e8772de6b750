// The resize driver: prepares weight tables, tile tables and per-thread
// buffers once per geometry and has the kernel plug-in process each frame on
// the host's worker threads.
#pragma once
#include <cstdint>
#include <memory>

#include "host/FilterConfig.h"
#include "host/HostAbi.h"
#include "kernels/common/LinearFilter.h"
#include "resize/WeightSetter.h"

class TFilter {
public:
    // Reads the target size from `config` at the start of every frame.
    explicit TFilter(const TFilterConfig &config);
    virtual ~TFilter();
    TFilter(const TFilter &) = delete;
    TFilter &operator=(const TFilter &) = delete;

    // Takes ownership (null allowed) and forgets the prepared geometry.
    void SetWeightSetter(TWeightSetter *setter);
    // Not owned; the kernel list keeps it loaded.
    void SetKernel(const LinearFilterPluginInfo *kernel);
    // Always TRUE. Passes the frame unchanged when there is nothing to do.
    BOOL ResizeFrame(FILTER *fp, FILTER_PROC_INFO *fpip);

    virtual void Setup(int32_t srcWidth, int32_t srcHeight, int32_t dstWidth, int32_t dstHeight,
                       int32_t maxWidth);
    void BuildTables();
    void FreeBuffers();
    int32_t TileWidth() const { return FKernel->tileWidth; }
    int32_t TileHeight() const { return FKernel->tileHeight; }
    void RunKernel(void *dst, const void *src, int32_t threadIndex, int32_t threadCount);
    // The host's MULTI_THREAD_FUNC; param1 is the driver, param2 the frame record.
    static void MV_CDECL ResizeThreadProc(int thread_id, int thread_num, void *param1,
                                          void *param2);

    // Twice the processors, at most 64, at least 1.
    static int32_t ThreadSlotsFor(int processorCount);
    int32_t ThreadCount() const { return FThreadCount; }
    const LinearFilterContext &Context() const { return FContext; }

private:
    bool IsPrepared(const FILTER_PROC_INFO &fpip, int32_t w, int32_t h) const;
    void Prepare(const FILTER_PROC_INFO &fpip, int32_t w, int32_t h);

    const TFilterConfig &FConfig;
    int32_t FThreadCount;
    std::unique_ptr<TWeightSetter> FWeightSetter;
    bool FHasWeightSetter = false;
    LinearFilterContext FContext{};
    const LinearFilterPluginInfo *FKernel = nullptr;
    int32_t FPreparedMaxWidth = 0;  // the line pitch belongs to the cache key
};
