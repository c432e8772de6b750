// The driver with the real Tessolk, found in a plug-in folder as the filter
// finds it, and area-average weights: every frame equals the reference model.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

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
    TFilterPluginList kernels;
    const LinearFilterPluginInfo *sse = nullptr;

    void SetUp() override {
        folder.CopyIn(testing_support::PluginPath("Tessolk.dll"), "Tessolk.dll");
        kernels.LoadFromDir(folder.Path());
        const int index = kernels.IndexOf("SSE");
        ASSERT_GE(index, 0) << "Tessolk not found in " << folder.Path();
        sse = kernels.Items(index);
        BuildGammaTables(2.2);
    }
    void TearDown() override { FreeGammaTables(); }

    void Check(int sw, int sh, int w, int h, int hostThreads) {
        SCOPED_TRACE(testing::Message() << sw << "x" << sh << " -> " << w << "x" << h << ", "
                                        << hostThreads << " host threads");
        TFilterConfig config;
        config.Width = w;
        config.Height = h;
        TFilter filter(config);
        filter.SetWeightSetter(new TAreaAverage);
        filter.SetKernel(sse);
        TTestHost host(hostThreads);
        THostFrames frames((std::max(sw, w) + 7) / 8 * 8, std::max(sh, h), sw, sh);
        frames.FillRandom(uint32_t(sw * 7 + h));
        TAreaAverage area;
        const std::vector<PIXEL_YC> expected = testing_support::ExpectedFrame(
            area, frames.First(), frames.info.max_w, sw, sh, w, h);
        ASSERT_EQ(filter.ResizeFrame(&host.filter, &frames.info), TRUE);
        EXPECT_EQ(frames.info.ycp_edit, frames.Second());
        EXPECT_EQ(frames.info.ycp_temp, frames.First());
        EXPECT_EQ(frames.info.w, w);
        EXPECT_EQ(frames.info.h, h);
        EXPECT_TRUE(testing_support::SameImage(expected.data(), w, frames.info.ycp_edit,
                                               frames.info.max_w, w, h));
    }
};

TEST_F(DriverEndToEnd, ReductionsEnlargementsAndMixedDirections) {
    Check(200, 170, 130, 90, 3);   // both reduced
    Check(100, 60, 257, 333, 2);   // both enlarged
    Check(300, 100, 129, 250, 4);  // narrower and taller
    Check(90, 400, 190, 161, 2);   // wider and less tall
    Check(65, 161, 64, 160, 1);
    Check(64, 160, 65, 161, 5);
    Check(640, 480, 640, 37, 2);   // one direction unchanged
}

TEST_F(DriverEndToEnd, MoreHostThreadsThanSlotsStillCompleteTheFrame) {
    TFilterConfig config;
    Check(333, 222, 111, 444, TFilter(config).ThreadCount() + 16);
}

}  // namespace
