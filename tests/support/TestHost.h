// A minimal host for driving the resize engine in tests: host frames of
// max_w × max_h pixels and the multi-thread service on real threads.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "standin/HostThreadPool.h"
#include "abi/HostAbi.h"

namespace testing_support {

// The host's current and work frames, 16-byte aligned, with the record that
// points at them.
class THostFrames {
public:
    THostFrames(int maxW, int maxH, int w, int h);
    ~THostFrames();
    THostFrames(const THostFrames &) = delete;
    THostFrames &operator=(const THostFrames &) = delete;
    FILTER_PROC_INFO info{};
    PIXEL_YC *First() const { return FFirst; }
    PIXEL_YC *Second() const { return FSecond; }
    // Fills the current frame's image with seeded random pixels.
    void FillRandom(uint32_t seed);

private:
    PIXEL_YC *FFirst;
    PIXEL_YC *FSecond;
};

// A FILTER whose exec_multi_thread_func runs on `threads` pool threads.
class TTestHost {
public:
    explicit TTestHost(int threads);
    ~TTestHost();
    FILTER filter{};
    EXFUNC exfunc{};
    int Runs() const { return FRuns; }

private:
    static BOOL MV_CDECL Exec(MULTI_THREAD_FUNC func, void *param1, void *param2);
    THostThreadPool FPool;
    int FRuns = 0;
};

}  // namespace testing_support
