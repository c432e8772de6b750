// The host's multi-thread service: runs a function once on each of N
// persistent worker threads (thread_id 0..N-1) and returns when all are done.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "abi/HostAbi.h"

class THostThreadPool {
public:
    explicit THostThreadPool(int threadCount);
    ~THostThreadPool();
    THostThreadPool(const THostThreadPool &) = delete;
    THostThreadPool &operator=(const THostThreadPool &) = delete;

    int ThreadCount() const { return FCount; }
    // Blocks until every worker has run `func` once.
    BOOL Run(MULTI_THREAD_FUNC func, void *param1, void *param2);
    // Items [0, count) cut into bands, `work(first, last)` run on each by
    // whichever worker is free; returns when all are done and rethrows what
    // a band threw.
    void ForBands(int count, const std::function<void(int first, int last)> &work);

private:
    void WorkerLoop(int threadId);

    const int FCount;
    std::vector<std::thread> FWorkers;
    std::mutex FLock;
    std::condition_variable FWake;
    std::condition_variable FDone;
    MULTI_THREAD_FUNC FFunc = nullptr;
    void *FParam1 = nullptr;
    void *FParam2 = nullptr;
    uint64_t FGeneration = 0;  // one per Run
    int FPending = 0;
    bool FStopping = false;
};
