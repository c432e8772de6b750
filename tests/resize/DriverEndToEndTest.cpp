// The driver with the real Tessolk, found in a plug-in folder as the filter
// finds it, and area-average weights: every frame equals the reference model.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "resize/AreaAverage.h"
#include "resize/Filter.h"
#include "resize/FilterPluginList.h"
#include "resize/GammaTables.h"
#include "tests/support/ReferenceModel.h"
#include "tests/support/TestFrames.h"
#include "tests/support/TestHost.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WeightTableView.h"

using testing_support::OwnedWeightTable;
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

    // The frame as the reference model resizes it with area-average weights.
    std::vector<PIXEL_YC> Expected(const THostFrames &f, const PIXEL_YC *src, int w, int h) {
        TAreaAverage area;
        OwnedWeightTable hw, vw;
        const int sw = f.info.w, sh = f.info.h;
        if (w < sw) area.SetReduceWeights(&hw.table, sw, w, 48);
        else area.SetEnlargeWeights(&hw.table, sw, w, 48);
        if (h < sh) area.SetReduceWeights(&vw.table, sh, h, 896);
        else area.SetEnlargeWeights(&vw.table, sh, h, 896);
        reference_model::Job job;
        job.src = src;
        job.srcPitch = f.info.max_w;
        job.srcWidth = sw;
        job.srcHeight = sh;
        job.hWeights = &hw.table;
        job.vWeights = &vw.table;
        job.toLinear = GammaToLinear;
        job.fromLinear = LinearToGamma;
        job.dstWidth = w;
        job.dstHeight = h;
        std::vector<PIXEL_YC> out(size_t(w) * h);
        reference_model::Resize(job, out.data(), w);
        return out;
    }

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
        const std::vector<PIXEL_YC> expected = Expected(frames, frames.First(), w, h);
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
