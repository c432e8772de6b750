#include "tests/support/TestHost.h"

#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>

#include "resize/xmmutil.h"

namespace testing_support {

namespace {
TTestHost *CurrentHost = nullptr;  // the service has no user argument

PIXEL_YC *Frame(int maxW, int maxH) {
    return static_cast<PIXEL_YC *>(AlignedGetMem(maxW * maxH * int(sizeof(PIXEL_YC)), 16));
}
}  // namespace

THostFrames::THostFrames(int maxW, int maxH, int w, int h)
    : FFirst(Frame(maxW, maxH)), FSecond(Frame(maxW, maxH)) {
    std::memset(FFirst, 0, size_t(maxW) * maxH * sizeof(PIXEL_YC));
    std::memset(FSecond, 0, size_t(maxW) * maxH * sizeof(PIXEL_YC));
    info.ycp_edit = FFirst;
    info.ycp_temp = FSecond;
    info.w = w;
    info.h = h;
    info.max_w = maxW;
    info.max_h = maxH;
}

THostFrames::~THostFrames() {
    AlignedFreeMem(FFirst);
    AlignedFreeMem(FSecond);
}

void THostFrames::FillRandom(uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> y(0, 4096), c(-2048, 2048);
    for (int r = 0; r < info.h; ++r)
        for (int x = 0; x < info.w; ++x)
            info.ycp_edit[r * info.max_w + x] = {int16_t(y(rng)), int16_t(c(rng)), int16_t(c(rng))};
}

TTestHost::TTestHost(int threads) : FPool(threads) {
    if (CurrentHost) throw std::logic_error("one test host at a time");
    CurrentHost = this;
    exfunc.exec_multi_thread_func = &TTestHost::Exec;
    filter.exfunc = &exfunc;
}

TTestHost::~TTestHost() { CurrentHost = nullptr; }

BOOL MV_CDECL TTestHost::Exec(MULTI_THREAD_FUNC func, void *param1, void *param2) {
    ++CurrentHost->FRuns;
    return CurrentHost->FPool.Run(func, param1, param2);
}

}  // namespace testing_support
