// The driver, through the host's frame records, with an in-process kernel
// that marks the tiles it is given: pass-through rules, caching, thread
// slots, failed preparations and tables beyond the kernel's buffers.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <new>
#include <set>
#include <utility>

#include "abi/FilterConfig.h"
#include "host/HostFrame.h"
#include "kernels/common/KernelGeometry.h"
#include "resize/AreaAverage.h"
#include "resize/Filter.h"
#include "resize/xmmutil.h"
#include "tests/support/KernelContext.h"
#include "tests/support/TestHost.h"

using testing_support::SharedGammaTables;
using testing_support::THostFrames;
using testing_support::TTestHost;

namespace {

// Records who called it and fills each tile it takes with y = 1.
struct MarkingKernel {
    static std::mutex lock;
    static std::set<std::pair<int, int>> calls;  // (threadIndex, threadCount)

    static int32_t MV_CDECL StripSize(LinearFilterContext *c, int32_t) {
        return kernel_geometry::StripBufferBytes(*c);
    }
    static int32_t MV_CDECL RowSize(LinearFilterContext *c, int32_t r) {
        return kernel_geometry::RowBufferBytes(*c, r);
    }
    static int32_t MV_CDECL OneGroup(LinearFilterContext *, int32_t) { return 4 * 896; }
    static void MV_CDECL Process(void *dst, const void *, LinearFilterContext *c, int32_t index,
                                 int32_t count) {
        {
            std::lock_guard<std::mutex> g(lock);
            calls.insert({index, count});
        }
        for (;;) {
            const int32_t i = __atomic_add_fetch(&c->nextTile, 1, __ATOMIC_SEQ_CST) - 1;
            if (i >= c->tileCount) return;
            const int32_t t = i % c->tilesAcross, u = i / c->tilesAcross;
            for (int32_t y = 160 * u; y < c->dstHeight && y < 160 * (u + 1); ++y)
                for (int32_t x = 64 * t; x < c->dstWidth && x < 64 * (t + 1); ++x) {
                    auto *line =
                        reinterpret_cast<PIXEL_YC *>(static_cast<char *>(dst) + y * c->srcPitch);
                    line[x].y = 1;
                }
        }
    }
    static const LinearFilterPluginInfo info;
};
std::mutex MarkingKernel::lock;
std::set<std::pair<int, int>> MarkingKernel::calls;
const LinearFilterPluginInfo MarkingKernel::info = {
    "Mark", &MarkingKernel::StripSize, &MarkingKernel::RowSize, &MarkingKernel::Process, 64, 160,
    896};

// Area average that counts its builds and can be told to fail once.
struct CountingBuilder : TAreaAverage {
    int *builds;
    bool failVertical;
    CountingBuilder(int *b, bool fail = false) : builds(b), failVertical(fail) {}
    void Count(int32_t unit) {
        ++*builds;
        if (failVertical && unit != 48) {
            failVertical = false;
            throw std::bad_alloc();
        }
    }
    void SetReduceWeights(WeightTable *t, int32_t s, int32_t d, int32_t u) override {
        Count(u);
        TAreaAverage::SetReduceWeights(t, s, d, u);
    }
    void SetEnlargeWeights(WeightTable *t, int32_t s, int32_t d, int32_t u) override {
        Count(u);
        TAreaAverage::SetEnlargeWeights(t, s, d, u);
    }
};

// func_proc's work: the target size from the block, the frame from the host.
void Resize(TFilter &filter, TTestHost &host, THostFrames &frames, const TFilterConfig &config) {
    ResizeHostFrame(filter, &host.filter, &frames.info, config.Width, config.Height);
}

bool AllMarked(const THostFrames &f) {
    for (int y = 0; y < f.info.h; ++y)
        for (int x = 0; x < f.info.w; ++x)
            if (f.info.ycp_edit[y * f.info.max_w + x].y != 1) return false;
    return true;
}

TEST(Driver, ThreadSlotsAreTwiceTheProcessorsUpTo64) {
    EXPECT_EQ(TFilter::ThreadSlotsFor(1), 2);
    EXPECT_EQ(TFilter::ThreadSlotsFor(2), 4);
    EXPECT_EQ(TFilter::ThreadSlotsFor(32), 64);
    EXPECT_EQ(TFilter::ThreadSlotsFor(40), 64);
    EXPECT_GE(TFilter(SharedGammaTables()).ThreadCount(), 2);
}

TEST(Driver, FramesItCannotOrNeedNotResizePassUnchanged) {
    TTestHost host(2);
    TFilterConfig config = InitialFilterConfig;
    struct Case {
        const char *what;
        int w, h, targetW, targetH;
        bool builder, kernel, tables;
    } cases[] = {
        {"equal sizes", 100, 80, 100, 80, true, true, true},
        {"no weight builder", 100, 80, 50, 40, false, true, true},
        {"no kernel", 100, 80, 50, 40, true, false, true},
        {"no gamma tables", 100, 80, 50, 40, true, true, false},
        {"target width 0", 100, 80, 0, 40, true, true, true},
        {"target height -3", 100, 80, 50, -3, true, true, true},
        {"target wider than the frame memory", 100, 80, 129, 40, true, true, true},
        {"target taller than the frame memory", 100, 80, 50, 97, true, true, true},
    };
    const TGammaTables absent;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        config.Width = c.targetW;
        config.Height = c.targetH;
        TFilter filter(c.tables ? SharedGammaTables() : absent);
        if (c.builder) filter.SetWeightSetter(new TAreaAverage);
        if (c.kernel) filter.SetKernel(&MarkingKernel::info);
        THostFrames frames(128, 96, c.w, c.h);
        const FILTER_PROC_INFO before = frames.info;
        Resize(filter, host, frames, config);
        EXPECT_EQ(frames.info.ycp_edit, before.ycp_edit);
        EXPECT_EQ(frames.info.ycp_temp, before.ycp_temp);
        EXPECT_EQ(frames.info.w, c.w);
        EXPECT_EQ(frames.info.h, c.h);
        EXPECT_EQ(host.Runs(), 0);
        EXPECT_EQ(frames.Second()[0].y, 0);
    }
}

TEST(Driver, ResizedFrameIsSwappedInWithTheTargetSize) {
    TTestHost host(3);
    TFilterConfig config = InitialFilterConfig;
    config.Width = 130;  // three tile columns, the last of two pixels
    config.Height = 170;
    TFilter filter(SharedGammaTables());
    filter.SetWeightSetter(new TAreaAverage);
    filter.SetKernel(&MarkingKernel::info);
    THostFrames frames(200, 200, 64, 48);
    Resize(filter, host, frames, config);
    EXPECT_EQ(frames.info.ycp_edit, frames.Second());
    EXPECT_EQ(frames.info.ycp_temp, frames.First());
    EXPECT_EQ(frames.info.w, 130);
    EXPECT_EQ(frames.info.h, 170);
    EXPECT_TRUE(AllMarked(frames));
    const LinearFilterContext &c = filter.Context();
    EXPECT_EQ(c.tilesAcross, 3);
    EXPECT_EQ(c.tilesDown, 2);
    EXPECT_EQ(c.tileCount, 6);
    EXPECT_EQ(c.srcPitch, 1200);
    EXPECT_EQ(c.columnUnit, 48);
    EXPECT_EQ(uintptr_t(c.stripBuffer) % 128, 0u);
    EXPECT_EQ(uintptr_t(c.hTiles) % 16, 0u);
}

TEST(Driver, SameGeometryReusesEverythingNewBuilderRebuilds) {
    TTestHost host(2);
    TFilterConfig config = InitialFilterConfig;
    config.Width = 90;
    config.Height = 50;
    TFilter filter(SharedGammaTables());
    int builds = 0;
    filter.SetWeightSetter(new CountingBuilder(&builds));
    filter.SetKernel(&MarkingKernel::info);
    THostFrames frames(128, 96, 120, 80);
    Resize(filter, host, frames, config);
    EXPECT_EQ(builds, 2);

    frames.info.w = 120;
    frames.info.h = 80;
    const int64_t allocations = AlignedAllocationCount();
    Resize(filter, host, frames, config);
    EXPECT_EQ(builds, 2);
    EXPECT_EQ(AlignedAllocationCount(), allocations);

    int newBuilds = 0;
    filter.SetWeightSetter(new CountingBuilder(&newBuilds));
    frames.info.w = 120;
    frames.info.h = 80;
    Resize(filter, host, frames, config);
    EXPECT_EQ(newBuilds, 2);
    EXPECT_GT(AlignedAllocationCount(), allocations);
}

TEST(Driver, ChangedLinePitchRebuilds) {
    TTestHost host(2);
    TFilterConfig config = InitialFilterConfig;
    config.Width = 40;
    config.Height = 30;
    TFilter filter(SharedGammaTables());
    int builds = 0;
    filter.SetWeightSetter(new CountingBuilder(&builds));
    filter.SetKernel(&MarkingKernel::info);
    THostFrames narrow(64, 64, 50, 50), wide(96, 64, 50, 50);
    Resize(filter, host, narrow, config);
    EXPECT_EQ(filter.Context().srcPitch, 64 * 6);
    Resize(filter, host, wide, config);
    EXPECT_EQ(builds, 4);
    EXPECT_EQ(filter.Context().srcPitch, 96 * 6);
    EXPECT_TRUE(AllMarked(wide));
}

// A preparation that fails (out of memory, or tables that some tile could
// not keep inside the kernel's buffers) passes the frame unchanged and
// leaves nothing half built; the next frame prepares again.
TEST(Driver, FailedPreparationPassesTheFrameAndTheNextOneResizes) {
    // One row-buffer group per thread: too little for any 160-row tile.
    static const LinearFilterPluginInfo tinyRows = {"Tiny",
                                                    &MarkingKernel::StripSize,
                                                    &MarkingKernel::OneGroup,
                                                    &MarkingKernel::Process,
                                                    64,
                                                    160,
                                                    896};
    struct Case {
        const char *what;
        bool failOnce;
        const LinearFilterPluginInfo *kernel;
    } cases[] = {{"allocation fails once", true, &MarkingKernel::info},
                 {"tables beyond the row buffer", false, &tinyRows}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.what);
        TTestHost host(2);
        TFilterConfig config = InitialFilterConfig;
        config.Width = 40;
        config.Height = 30;
        TFilter filter(SharedGammaTables());
        int builds = 0;
        filter.SetWeightSetter(new CountingBuilder(&builds, k.failOnce));
        filter.SetKernel(k.kernel);
        THostFrames frames(64, 64, 50, 50);
        Resize(filter, host, frames, config);
        const LinearFilterContext &c = filter.Context();
        EXPECT_EQ(c.srcWidth, 0);
        EXPECT_EQ(c.stripBuffer, nullptr);
        EXPECT_EQ(c.hWeights.values, nullptr);
        EXPECT_EQ(host.Runs(), 0);
        EXPECT_EQ(frames.info.w, 50);
        EXPECT_EQ(frames.info.ycp_edit, frames.First());

        Resize(filter, host, frames, config);
        EXPECT_EQ(host.Runs(), k.failOnce ? 1 : 0);
        EXPECT_EQ(frames.info.w, k.failOnce ? 40 : 50);
        if (k.failOnce) {
            EXPECT_TRUE(AllMarked(frames));
        }
    }
}

// Threads beyond the slots, and slots beyond the tiles, stay idle: the
// buffers exist only for the slots that can take a tile.
TEST(Driver, HostThreadsBeyondTheSlotsStayIdle) {
    struct Case {
        int slots, width, height, expected;
    } cases[] = {{8, 300, 500, 8}, {64, 300, 100, 5}};
    for (const Case &k : cases) {
        SCOPED_TRACE(testing::Message() << k.slots << " slots, " << k.width << "x" << k.height);
        TFilterConfig config = InitialFilterConfig;
        config.Width = k.width;
        config.Height = k.height;
        TFilter filter(SharedGammaTables(), k.slots);
        TTestHost host(k.slots + 16);
        filter.SetWeightSetter(new TAreaAverage);
        filter.SetKernel(&MarkingKernel::info);
        MarkingKernel::calls.clear();
        THostFrames frames(320, 512, 200, 100);
        Resize(filter, host, frames, config);
        EXPECT_TRUE(AllMarked(frames));
        EXPECT_EQ(filter.PreparedSlots(), k.expected);
        ASSERT_EQ(MarkingKernel::calls.size(), size_t(k.expected));
        int expectedIndex = 0;
        for (auto [index, count] : MarkingKernel::calls) {
            EXPECT_EQ(index, expectedIndex++);
            EXPECT_EQ(count, k.expected);
        }
    }
}

}  // namespace
