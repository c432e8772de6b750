// The driver with the real Tessolk, found in a plug-in folder as the filter
// finds it, and area-average weights: every frame equals the reference model,
// extreme reductions with many thread slots included.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include "host/HostFrame.h"
#include "resize/AreaAverage.h"
#include "resize/Filter.h"
#include "resize/FilterPluginList.h"
#include "resize/GammaTables.h"
#include "tests/support/ExpectedFrame.h"
#include "tests/support/TestFrames.h"
#include "tests/support/TestHost.h"
#include "tests/support/TestPaths.h"

using testing_support::THostFrames;
using testing_support::TTestHost;

namespace {

class DriverEndToEnd : public ::testing::Test {
protected:
    testing_support::TempDir folder;
    platform::TLibrarySet libraries;
    TFilterPluginList kernels;
    const LinearFilterPluginInfo *sse = nullptr;
    TGammaTables tables;

    void SetUp() override {
        folder.CopyIn(testing_support::PluginPath("Tessolk.dll"), "Tessolk.dll");
        kernels.LoadFromDir(folder.Path(), libraries);
        const int index = kernels.IndexOf("SSE");
        ASSERT_GE(index, 0) << "Tessolk not found in " << folder.Path();
        sse = kernels.Items(index);
        tables.BuildGammaTables(2.2);
    }

    // Returns the per-slot strip and row buffer bytes that the frame used.
    std::pair<int32_t, int32_t> Check(int sw, int sh, int w, int h, int hostThreads,
                                      int slots = 0) {
        SCOPED_TRACE(testing::Message() << sw << "x" << sh << " -> " << w << "x" << h << ", "
                                        << hostThreads << " host threads");
        TFilter filter(tables, slots > 0 ? slots : TFilter(tables).ThreadCount());
        filter.SetWeightSetter(new TAreaAverage);
        filter.SetKernel(sse);
        TTestHost host(hostThreads);
        THostFrames frames((std::max(sw, w) + 7) / 8 * 8, std::max(sh, h), sw, sh);
        frames.FillRandom(uint32_t(sw * 7 + h));
        TAreaAverage area;
        const std::vector<PIXEL_YC> expected =
            testing_support::ExpectedFrame(area, frames.First(), frames.info.max_w, sw, sh, w, h);
        ResizeHostFrame(filter, &host.filter, &frames.info, w, h);
        EXPECT_EQ(frames.info.ycp_edit, frames.Second());
        EXPECT_EQ(frames.info.ycp_temp, frames.First());
        EXPECT_EQ(frames.info.w, w);
        EXPECT_EQ(frames.info.h, h);
        EXPECT_TRUE(testing_support::SameImage(expected.data(), w, frames.info.ycp_edit,
                                               frames.info.max_w, w, h));
        return {filter.Context().stripBufferSize, filter.Context().rowBufferSize};
    }
};

TEST_F(DriverEndToEnd, ReductionsEnlargementsAndMixedDirections) {
    Check(200, 170, 130, 90, 3);   // both reduced
    Check(100, 60, 257, 333, 2);   // both enlarged
    Check(300, 100, 129, 250, 4);  // narrower and taller
    Check(90, 400, 190, 161, 2);   // wider and less tall
    Check(65, 161, 64, 160, 1);
    Check(64, 160, 65, 161, 5);
    Check(640, 480, 640, 37, 2);  // one direction unchanged
}

TEST_F(DriverEndToEnd, MoreHostThreadsThanSlotsStillCompleteTheFrame) {
    Check(333, 222, 111, 444, TFilter(tables).ThreadCount() + 16);
}

// Whole columns or the whole picture into one output row: the row buffer
// holds every source row, never more, with 64 thread slots.
TEST_F(DriverEndToEnd, ExtremeReductionsWithManySlots) {
    struct Case {
        int sw, sh, w, h;
    } cases[] = {{2, 16384, 1, 1}, {64, 32768, 64, 2}, {1920, 1080, 1920, 1}};
    for (const Case &c : cases) {
        const auto [strip, rows] = Check(c.sw, c.sh, c.w, c.h, 4, 64);
        // Whole groups of every source row, the alignment group and the spare.
        EXPECT_LE(int64_t{rows}, (int64_t{c.sh} + 3) / 4 * 3584 + 896 + 3584);
        std::printf("%dx%d -> %dx%d: per slot %d strip + %d row buffer bytes\n", c.sw, c.sh, c.w,
                    c.h, strip, rows);
    }
}

}  // namespace
