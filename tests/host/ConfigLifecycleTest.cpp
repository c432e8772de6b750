// A project's saved block choosing size, window function, parameter and
// kernel in the real filter; the frames it gives equal the reference model.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "standin/StandinHost.h"
#include "abi/FilterConfig.h"
#include "plugins/PluginName.h"
#include "platform/Paths.h"
#include "plugins/WindowFuncPlugin.h"
#include "resize/AreaAverage.h"
#include "resize/NormalWeightSetter.h"
#include "tests/host/BlockReference.h"
#include "tests/host/Installation.h"
#include "tests/support/ExpectedFrame.h"
#include "tests/support/TestFrames.h"
#include "tests/support/TestPaths.h"

using host_test::TInstallation;
using host_test::TLists;

namespace {

TFilterConfig Block(int w, int h, const char *func, int param, const char *kernel = "") {
    TFilterConfig b = InitialFilterConfig;
    b.Width = w;
    b.Height = h;
    WriteConfigName(b.WndFuncName, func);
    WriteConfigName(b.FilterPluginName, kernel);
    b.WndFuncParam = param;
    return b;
}

TYcImage RandomFrame(int w, int h, uint32_t seed) {
    TYcImage img(w, h);
    testing_support::FillRandomPixels(img.Pixels.data(), w, w, h, seed);
    return img;
}

// What a frame resized with `builder` must come out as.
TYcImage Expected(const TYcImage &src, int w, int h, TWeightSetter &builder) {
    TYcImage out(w, h);
    out.Pixels = testing_support::ExpectedFrame(builder, src.Pixels.data(), src.Width, src.Width,
                                                src.Height, w, h);
    return out;
}

// The window function `name` from the installation's own library.
TYcImage ExpectedWith(const TInstallation &inst, const TYcImage &src, int w, int h,
                      const std::string &name, int param) {
    platform::TLibrarySet libraries;
    TWndFuncPluginList list;
    list.LoadFromDir(inst.Path() + "DLL", libraries);
    const int index = list.IndexOf(name);
    EXPECT_GE(index, 0) << name;
    TNormalWeightSetter builder;
    builder.SetWindowFunc(list.Items(index), uint16_t(param));
    return Expected(src, w, h, builder);
}

testing::AssertionResult Same(const TYcImage &expected, const TYcImage &actual) {
    if (expected.Width != actual.Width || expected.Height != actual.Height)
        return testing::AssertionFailure()
               << "size " << actual.Width << "x" << actual.Height << ", expected " << expected.Width
               << "x" << expected.Height;
    return testing_support::SameImage(expected.Pixels.data(), expected.Width, actual.Pixels.data(),
                                      actual.Width, actual.Width, actual.Height);
}

class ConfigLifecycle : public ::testing::Test {
protected:
    TInstallation inst;
    std::unique_ptr<TStandinHost> host;

    void Start(bool windowFuncs = true) {
        inst.AddPlugins("DLL", windowFuncs);
        host = std::make_unique<TStandinHost>(inst.AddFilter(), 1024, 768, 3);
        ASSERT_EQ(host->Init(), TRUE);
    }
    TYcImage Run(const TFilterConfig &block, const TYcImage &frame) {
        host->RestoreProject(&block, sizeof block);
        return host->ProcessFrame(frame).Image;
    }
    TFilterConfig Saved() const {
        TFilterConfig b = InitialFilterConfig;
        const auto bytes = host->SaveProject();
        std::memcpy(&b, bytes.data(), sizeof b);
        return b;
    }
};

TEST_F(ConfigLifecycle, RestoredBlockChoosesSizeFunctionParameterAndKernel) {
    Start();
    const TYcImage src = RandomFrame(150, 97, 7);
    EXPECT_TRUE(Same(ExpectedWith(inst, src, 331, 64, "Lanczos", 5),
                     Run(Block(331, 64, "Lanczos", 5, "SSE"), src)));
    EXPECT_TRUE(Same(ExpectedWith(inst, src, 70, 200, "Spline36", 0),
                     Run(Block(70, 200, "Spline36", 0, "SSE"), src)));
    EXPECT_TRUE(Same(ExpectedWith(inst, src, 64, 48, "Bicubic", 75),
                     Run(Block(64, 48, "Bicubic", 75), src)));
}

TEST_F(ConfigLifecycle, AreaAverageIsBuiltIn) {
    Start();
    const TYcImage src = RandomFrame(120, 90, 11);
    TAreaAverage area;
    EXPECT_TRUE(Same(Expected(src, 50, 130, area), Run(Block(50, 130, "AreaAverage", 0), src)));
}

TEST_F(ConfigLifecycle, UnknownNamesFallBackToTheFirstEntries) {
    Start();
    const TYcImage src = RandomFrame(100, 60, 13);
    // The first function of the library, with its own default parameter.
    EXPECT_TRUE(Same(ExpectedWith(inst, src, 77, 40, "Spline16", 0),
                     Run(Block(77, 40, "NoSuchFunction", 1234, "NoSuchKernel"), src)));
    EXPECT_EQ(ReadConfigName(Saved().WndFuncName), "NoSuchFunction");
    EXPECT_EQ(Saved().WndFuncParam, 1234);
}

TEST_F(ConfigLifecycle, ParameterOutsideTheLimitsIsReplacedByTheRemembered) {
    Start();
    const TYcImage src = RandomFrame(90, 90, 14);
    EXPECT_TRUE(Same(ExpectedWith(inst, src, 45, 45, "Lanczos", 3),
                     Run(Block(45, 45, "Lanczos", 40), src)));
    EXPECT_EQ(Saved().WndFuncParam, 3);
}

TEST_F(ConfigLifecycle, DialogShowsTheProjectWhileTheFilterWindowIsOpen) {
    Start();
    const TFilterConfig saved = Block(800, 600, "lanczos", 4, "sse");
    host->RestoreProject(&saved, sizeof saved);
    EXPECT_EQ(ReadConfigName(Saved().WndFuncName), "lanczos");  // no dialog: kept as saved
    EXPECT_EQ(host->OpenWindow(), TRUE);  // the dialog shows the block as it is made
    EXPECT_EQ(ReadConfigName(Saved().WndFuncName), "Lanczos");
    EXPECT_EQ(ReadConfigName(Saved().FilterPluginName), "SSE");
    EXPECT_EQ(Saved().Width, 800);
    host->RestoreProject(&saved, sizeof saved);  // and again at each func_update
    EXPECT_EQ(ReadConfigName(Saved().WndFuncName), "Lanczos");
    EXPECT_EQ(host->CloseWindow(), FALSE);
    host->RestoreProject(&saved, sizeof saved);
    EXPECT_EQ(ReadConfigName(Saved().WndFuncName), "lanczos");  // released
    host.reset();
    // The project's size was shown, not added: the saved list is unchanged.
    EXPECT_EQ(inst.Key("Morvane", "SizeList"), "512x384");
}

TEST_F(ConfigLifecycle, MessagesAndActivation) {
    Start();
    EXPECT_EQ(host->SendFilterMessage(0x0401), FALSE);
    EXPECT_EQ(host->OpenWindow(), TRUE);  // active: the host is asked to redraw
    EXPECT_EQ(host->SendFilterMessage(0x8200), TRUE);
    const TYcImage src = RandomFrame(80, 60, 15);
    const TYcImage before = Run(Block(40, 30, "Spline16", 0), src);
    EXPECT_EQ(host->ChangeActive(false), FALSE);
    EXPECT_EQ(host->SendFilterMessage(0x8200), FALSE);
    EXPECT_EQ(host->ChangeActive(true), FALSE);
    EXPECT_TRUE(Same(before, host->ProcessFrame(src).Image));  // tables rebuilt alike
    EXPECT_EQ(host->CloseWindow(), FALSE);
}

TEST_F(ConfigLifecycle, TargetSizesTheFrameCannotHoldPassUnchanged) {
    Start();
    const TYcImage src = RandomFrame(100, 60, 16);
    EXPECT_TRUE(Same(src, Run(Block(0, 40, "Spline16", 0), src)));
    EXPECT_TRUE(Same(src, Run(Block(2000, 40, "Spline16", 0), src)));
    EXPECT_TRUE(Same(src, Run(Block(40, 769, "Spline16", 0), src)));
}

// Each allocation of a first frame fails in turn: the gamma tables (2), the
// strip and row buffers (2), the tile tables (2) and the weight tables (4).
// The frame comes back unchanged with TRUE, and the next frame is resized.
TEST_F(ConfigLifecycle, EachFailedAllocationOfAFirstFramePassesItUnchanged) {
    inst.AddPlugins("DLL");
    const std::string filter =
        inst.AddFilterFrom(testing_support::TestBinDir() + "MorvaneFailing.auf", "Morvane.auf");
    const TYcImage src = RandomFrame(100, 60, 21);
    const TYcImage expected = ExpectedWith(inst, src, 70, 40, "Spline16", 0);
    const TFilterConfig block = Block(70, 40, "Spline16", 0);
    int failed = 0;
    for (int n = 1; n <= 64; ++n) {
        SCOPED_TRACE(testing::Message() << "allocation " << n << " fails");
        testing_support::SetEnvironment("MORVANE_FAIL_ALLOCATION", std::to_string(n));
        TStandinHost failing(filter, 1024, 768, 3);
        ASSERT_EQ(failing.Init(), TRUE);
        failing.RestoreProject(&block, sizeof block);
        const TFrameResult first = failing.ProcessFrame(src);
        EXPECT_EQ(first.Result, TRUE);
        if (!Same(src, first.Image)) {
            // Allocation n is none of the first frame's.
            EXPECT_TRUE(Same(expected, first.Image));
            break;
        }
        ++failed;
        EXPECT_TRUE(Same(expected, failing.ProcessFrame(src).Image));
    }
    testing_support::SetEnvironment("MORVANE_FAIL_ALLOCATION", "");
    EXPECT_EQ(failed, 10);
}

// The orders the editor's SDK allows: func_update after each restored block
// or never before the frames, the dialog made right after func_init or not
// at all. In each, a frame comes out as the block says after it.
struct TOrder {
    bool update;
    bool dialog;
};

class CallOrders : public ConfigLifecycle, public testing::WithParamInterface<TOrder> {
protected:
    // `testLib`: a test-only window-function library to install as well.
    void StartInOrder(bool windowFuncs = true, const char *testLib = nullptr) {
        inst.AddPlugins("DLL", windowFuncs);
        if (testLib)
            std::filesystem::copy_file(testing_support::TestBinDir() + testLib,
                                       inst.Path() + "DLL/" + testLib);
        const std::string varnoth = testing_support::PluginPath("Varnoth.dll");
        if (std::filesystem::exists(varnoth))
            std::filesystem::copy_file(varnoth, inst.Path() + "DLL/Varnoth.dll");
        host = std::make_unique<TStandinHost>(inst.AddFilter(), 1024, 768, 3);
        host->SetCallOrder({GetParam().update, GetParam().dialog});
        ASSERT_EQ(host->Init(), TRUE);
    }
    testing::AssertionResult FrameAsTheBlockSays(const TYcImage &src) {
        const TYcImage out = host->ProcessFrame(src).Image;
        return Same(
            host_test::ExpectedForBlock(TLists(inst.Path() + "DLL"), Saved(), src, 1024, 768), out);
    }
};

TEST_P(CallOrders, FramesBeforeAnyRestoreAreResizedAsTheInitialBlockSays) {
    StartInOrder();
    const TYcImage src = RandomFrame(64, 48, 31);
    const TYcImage out = host->ProcessFrame(src).Image;
    EXPECT_EQ(out.Width, 512);
    EXPECT_EQ(out.Height, 384);
    EXPECT_TRUE(Same(ExpectedWith(inst, src, 512, 384, "Spline16", Saved().WndFuncParam), out));
}

TEST_P(CallOrders, NamesTheDialogCorrectsAreWhatTheFramesUse) {
    StartInOrder();
    const TFilterConfig project = Block(96, 80, "lanczos", 2, "avx");
    const TYcImage src = RandomFrame(70, 50, 32);
    for (int round = 0; round < 2; ++round) {
        host->RestoreProject(&project, sizeof project);
        EXPECT_TRUE(FrameAsTheBlockSays(src)) << "round " << round;
        const TFilterConfig used = Saved();
        if (GetParam().dialog) {
            // The dialog lists the names as the plug-ins give them, and a
            // newly chosen function brings its remembered parameter.
            EXPECT_EQ(ReadConfigName(used.WndFuncName), "Lanczos");
            EXPECT_EQ(used.WndFuncParam, 3);
            const std::string kernel = ReadConfigName(used.FilterPluginName);
            EXPECT_TRUE(kernel == "AVX" || kernel == "SSE") << kernel;
        } else {
            EXPECT_EQ(std::memcmp(&used, &project, sizeof used), 0);
        }
    }
}

TEST_P(CallOrders, AreaAverageNeedsNoWindowFunctionPlugIn) {
    StartInOrder(/*windowFuncs=*/false);
    const TYcImage src = RandomFrame(120, 90, 33);
    TAreaAverage area;
    const TYcImage averaged = Expected(src, 50, 130, area);
    const TFilterConfig chosen = Block(50, 130, "AreaAverage", 0, "SSE");
    host->RestoreProject(&chosen, sizeof chosen);
    EXPECT_TRUE(Same(averaged, host->ProcessFrame(src).Image));
    // A window function that is not installed: the dialog offers only the
    // area average; without the dialog the frame is left alone.
    const TFilterConfig missing = Block(50, 130, "Spline16", 0, "SSE");
    host->RestoreProject(&missing, sizeof missing);
    EXPECT_TRUE(Same(GetParam().dialog ? averaged : src, host->ProcessFrame(src).Image));
    EXPECT_EQ(ReadConfigName(Saved().WndFuncName), GetParam().dialog ? "AreaAverage" : "Spline16");
}

TEST_P(CallOrders, AnExactNameWinsOverOneThatDiffersInLetterCase) {
    StartInOrder(/*windowFuncs=*/false, "wf_cases.dll");
    const TYcImage src = RandomFrame(40, 30, 34);
    const struct {
        const char *saved, *shown;  // shown: as the dialog keeps it
    } cases[] = {{"tent", "tent"}, {"Tent", "Tent"}, {"TENT", "Tent"}, {"tent", "tent"}};
    std::vector<TYcImage> frames;
    for (const auto &c : cases) {
        const TFilterConfig block = Block(60, 45, c.saved, 0, "SSE");
        host->RestoreProject(&block, sizeof block);
        const TYcImage out = host->ProcessFrame(src).Image;
        EXPECT_TRUE(Same(
            host_test::ExpectedForBlock(TLists(inst.Path() + "DLL"), Saved(), src, 1024, 768), out))
            << c.saved;
        EXPECT_EQ(ReadConfigName(Saved().WndFuncName), GetParam().dialog ? c.shown : c.saved);
        frames.push_back(out);
    }
    EXPECT_FALSE(Same(frames[0], frames[1]));  // the two functions do differ
}

INSTANTIATE_TEST_SUITE_P(, CallOrders,
                         testing::Values(TOrder{true, false}, TOrder{false, false},
                                         TOrder{true, true}, TOrder{false, true}),
                         [](const testing::TestParamInfo<TOrder> &info) {
                             return std::string(info.param.update ? "Updated" : "NotUpdated") +
                                    (info.param.dialog ? "WithDialog" : "WithoutDialog");
                         });

}  // namespace
