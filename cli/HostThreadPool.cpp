#include "cli/HostThreadPool.h"

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
