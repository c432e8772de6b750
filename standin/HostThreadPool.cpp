#include "standin/HostThreadPool.h"

#include <algorithm>
#include <atomic>
#include <exception>

namespace {

// Bands are taken from a shared counter, several per worker: a worker that
// the system sets aside for a while (the tool's reader and writer share the
// cores) leaves its rest to the others instead of holding everyone up.
struct TBands {
    int Count, Size;
    const std::function<void(int, int)> *Work;
    std::atomic<int> Next{0};
    std::mutex Lock;
    std::exception_ptr Fault;
};

void MV_CDECL RunBand(int, int, void *param1, void *) {
    TBands &bands = *static_cast<TBands *>(param1);
    for (;;) {
        const int first = bands.Next.fetch_add(bands.Size);
        if (first >= bands.Count) return;
        try {
            (*bands.Work)(first, std::min(bands.Count, first + bands.Size));
        } catch (...) {
            std::lock_guard<std::mutex> lock(bands.Lock);
            if (!bands.Fault) bands.Fault = std::current_exception();
            bands.Next = bands.Count;  // the rest is not worth doing
            return;
        }
    }
}

}  // namespace

THostThreadPool::THostThreadPool(int threadCount) : FCount(threadCount < 1 ? 1 : threadCount) {
    FWorkers.reserve(FCount);
    for (int i = 0; i < FCount; ++i) FWorkers.emplace_back([this, i] { WorkerLoop(i); });
}

THostThreadPool::~THostThreadPool() {
    {
        std::lock_guard<std::mutex> lock(FLock);
        FStopping = true;
    }
    FWake.notify_all();
    for (std::thread &t : FWorkers) t.join();
}

BOOL THostThreadPool::Run(MULTI_THREAD_FUNC func, void *param1, void *param2) {
    std::unique_lock<std::mutex> lock(FLock);
    FFunc = func;
    FParam1 = param1;
    FParam2 = param2;
    FPending = FCount;
    ++FGeneration;
    FWake.notify_all();
    FDone.wait(lock, [this] { return FPending == 0; });
    return TRUE;
}

void THostThreadPool::WorkerLoop(int threadId) {
    uint64_t seen = 0;
    for (;;) {
        MULTI_THREAD_FUNC func;
        void *p1;
        void *p2;
        {
            std::unique_lock<std::mutex> lock(FLock);
            FWake.wait(lock, [&] { return FStopping || FGeneration != seen; });
            if (FStopping) return;
            seen = FGeneration;
            func = FFunc;
            p1 = FParam1;
            p2 = FParam2;
        }
        func(threadId, FCount, p1, p2);
        std::lock_guard<std::mutex> lock(FLock);
        if (--FPending == 0) FDone.notify_all();
    }
}

void THostThreadPool::ForBands(int count, const std::function<void(int, int)> &work) {
    if (count <= 0) return;
    // Eight bands a worker: small enough to even out, large enough that
    // each still spans many rows of a frame.
    TBands bands;
    bands.Count = count;
    bands.Size = std::max(1, count / (8 * FCount));
    bands.Work = &work;
    Run(&RunBand, &bands, nullptr);
    if (bands.Fault) std::rethrow_exception(bands.Fault);
}
