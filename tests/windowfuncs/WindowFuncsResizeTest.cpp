// Morvane's window functions through the whole engine: the weight builder,
// Tessolk, and the resize driver with the library found by the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "host/HostFrame.h"
#include "plugins/WindowFuncPlugin.h"
#include "resize/Filter.h"
#include "resize/NormalWeightSetter.h"
#include "tests/support/KernelContext.h"
#include "tests/support/KernelLibrary.h"
#include "tests/support/ReferenceModel.h"
#include "tests/support/TapTables.h"
#include "tests/support/TestFrames.h"
#include "tests/support/TestHost.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WindowFuncLibrary.h"

using namespace testing_support;

namespace {

class WindowFuncsResize : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FFuncs.Loaded()) << PluginPath("WindowFuncs.dll");
        ASSERT_NE(FKernel.Info(), nullptr) << FKernel.Path();
        ASSERT_STREQ(FKernel.Info()->name, "SSE");
    }
    const LinearFilterPluginInfo &Kernel() const { return *FKernel.Info(); }
    // A builder bound to a record of the library; the test fails without one.
    void Attach(TNormalWeightSetter &setter, const char *name, int32_t param) {
        const WindowFuncPluginInfo *info = FFuncs.Record(name);
        ASSERT_NE(info, nullptr) << name;
        ASSERT_TRUE(setter.SetWindowFunc(info, param)) << name;
    }

    TWindowFuncLibrary FFuncs{PluginPath("WindowFuncs.dll")};
    TKernelLibrary FKernel{"Tessolk.dll"};
};

// Runs Tessolk over `src` into `dst` with the context's tables.
void RunFrame(const LinearFilterPluginInfo &kernel, TKernelContext &context, const TTestFrame &src,
              TTestFrame &dst) {
    context.StartFrame();
    RunProcess(kernel, context.Context(), dst.Pixels(), src.Pixels(), context.Threads());
}

// At equal sizes Spline16 puts weight 1 on the sample itself, so the frame
// comes back exactly as the colour conversion alone returns it.
TEST_F(WindowFuncsResize, Spline16AtEqualSizeChangesOnlyByColourConversion) {
    const Geometry g{150, 170, 150, 170, 160};
    TTestFrame src(g.maxWidth, g.srcHeight), viaSpline(g.maxWidth, g.srcHeight),
        viaIdentity(g.maxWidth, g.srcHeight);
    FillRandomPixels(src.Pixels(), src.Pitch(), g.srcWidth, g.srcHeight, 7);
    TNormalWeightSetter spline16;
    Attach(spline16, "Spline16", 0);
    TKernelContext splineContext(Kernel(), g, 3, spline16);
    RunFrame(Kernel(), splineContext, src, viaSpline);
    TKernelContext identityContext(Kernel(), g, 3, SingleTaps(g.srcWidth, g.dstWidth),
                                   SingleTaps(g.srcHeight, g.dstHeight));
    RunFrame(Kernel(), identityContext, src, viaIdentity);
    EXPECT_TRUE(SameImage(viaIdentity.Pixels(), viaIdentity.Pitch(), viaSpline.Pixels(),
                          viaSpline.Pitch(), g.dstWidth, g.dstHeight));
    EXPECT_TRUE(splineContext.ScratchGuardsIntact());
}

// With linear-light tables that are plain scalings, a grey ramp enlarged 2×
// by a window that reproduces straight lines is the same ramp sampled at
// the new pixel centres, away from the folded edges: the code nearest to
// the ramp's value, converted to YCbCr, within 1 for float and table
// rounding.
TEST_F(WindowFuncsResize, RampStaysARampAfterDoubling) {
    std::vector<float> toLinear(4097);
    std::vector<int16_t> fromLinear(65536);
    for (int c = 0; c <= 4096; ++c) toLinear[c] = float(c) * 16;
    for (int l = 0; l < 65536; ++l) fromLinear[l] = int16_t(std::min(4096, (l + 8) / 16));
    const Geometry g{64, 48, 128, 96, 128};
    const auto code = [](double x, double y) { return 300 + 20 * x + 12 * y; };
    TTestFrame src(g.maxWidth, g.dstHeight);
    for (int32_t y = 0; y < g.srcHeight; ++y)
        for (int32_t x = 0; x < g.srcWidth; ++x)
            src.Pixels()[y * src.Pitch() + x] = {int16_t(code(x, y)), 0, 0};
    const struct {
        const char *name;
        int32_t param;
    } windows[] = {// Keys' cubic reproduces straight lines only with a = -0.5; Lanczos
                   // only approximately.
                   {"Spline16", 0},
                   {"Spline36", 0},
                   {"Spline64", 0},
                   {"Bicubic", 50},
                   {"Bilinear", 0}};
    for (const auto &w : windows) {
        SCOPED_TRACE(testing::Message() << w.name << " " << w.param);
        TNormalWeightSetter setter;
        Attach(setter, w.name, w.param);
        TTestFrame dst(g.maxWidth, g.dstHeight);
        TKernelContext context(Kernel(), g, 2, setter);
        context.StartFrame();
        context.Context().toLinear = toLinear.data();
        context.Context().fromLinear = fromLinear.data();
        RunProcess(Kernel(), context.Context(), dst.Pixels(), src.Pixels(), 2);
        const int32_t margin = 2 * setter.Radius();
        for (int32_t y = margin; y < g.dstHeight - margin; ++y)
            for (int32_t x = margin; x < g.dstWidth - margin; ++x) {
                const double ramp = code((x + 0.5) / 2 - 0.5, (y + 0.5) / 2 - 0.5);
                const auto c = int16_t(std::lround(ramp));
                const int16_t expected = reference_model::PixelOf({c, c, c}).y;
                const int16_t got = dst.Pixels()[y * dst.Pitch() + x].y;
                ASSERT_LE(std::abs(got - expected), 1) << "x " << x << ", y " << y;
            }
    }
}

// The driver, given a builder bound to a record that the list found in the
// build's plug-in folder, resizes exactly as the reference model does with
// the tables the builder makes.
TEST_F(WindowFuncsResize, DriverWithListedWindowFunctionsMatchesReference) {
    platform::TLibrarySet libraries;
    TWndFuncPluginList list;
    list.LoadFromDir(PluginDir(), libraries);
    const struct {
        const char *name;
        int32_t param;
        int32_t srcW, srcH, dstW, dstH;
    } cases[] = {
        {"Spline16", 0, 200, 150, 131, 170}, {"Spline36", 0, 90, 60, 200, 45},
        {"Spline64", 0, 77, 200, 160, 99},   {"Lanczos", 3, 200, 150, 131, 170},
        {"Lanczos", 8, 64, 64, 150, 40},     {"Lanczos", 65535, 40, 30, 81, 61},
        {"Bicubic", 50, 120, 100, 97, 201},  {"Bilinear", 0, 33, 90, 120, 30},
    };
    TTestHost host(3);
    uint32_t seed = 100;
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.param << ", " << c.srcW << "x"
                                        << c.srcH << " -> " << c.dstW << "x" << c.dstH);
        const WindowFuncPluginInfo *info = list[list.IndexOf(c.name)];
        ASSERT_NE(info, nullptr);
        TFilter filter(SharedGammaTables());
        auto *setter = new TNormalWeightSetter;
        setter->SetWindowFunc(info, c.param);
        filter.SetWeightSetter(setter);
        filter.SetKernel(&Kernel());
        const int32_t maxW = std::max(c.srcW, c.dstW) + 3, maxH = std::max(c.srcH, c.dstH);
        THostFrames frames(maxW, maxH, c.srcW, c.srcH);
        FillRandomPixels(frames.First(), maxW, c.srcW, c.srcH, seed++);
        ResizeHostFrame(filter, &host.filter, &frames.info, c.dstW, c.dstH);
        ASSERT_EQ(frames.info.ycp_edit, frames.Second());

        TNormalWeightSetter own;
        own.SetWindowFunc(info, c.param);
        WeightTable columns{}, rows{};
        FillWeightTable(columns, TapsFrom(own, c.srcW, c.dstW), 48);
        FillWeightTable(rows, TapsFrom(own, c.srcH, c.dstH), Kernel().rowPitch);
        reference_model::Job job;
        job.src = frames.First();
        job.srcPitch = maxW;
        job.srcWidth = c.srcW;
        job.srcHeight = c.srcH;
        job.hWeights = &columns;
        job.vWeights = &rows;
        job.rowUnit = Kernel().rowPitch;
        job.toLinear = SharedGammaTables().GammaToLinear();
        job.fromLinear = SharedGammaTables().LinearToGamma();
        job.dstWidth = c.dstW;
        job.dstHeight = c.dstH;
        std::vector<PIXEL_YC> expected(size_t(c.dstW) * c.dstH);
        reference_model::Resize(job, expected.data(), c.dstW);
        EXPECT_TRUE(SameImage(expected.data(), c.dstW, frames.info.ycp_edit, maxW, c.dstW, c.dstH));
        FreeWeightTable(columns);
        FreeWeightTable(rows);
    }
}

}  // namespace
