// What a saved block runs and what the filter and the dialog correct in it,
// over a fixed offer: names exact or in another letter case, unknown or
// empty; parameters inside, outside and below the limits; sizes listed,
// unlisted, beyond the largest frame or none; lists without functions or
// kernels.
#include <gtest/gtest.h>

#include <string>

#include "plugins/ConfigResolver.h"
#include "plugins/FilterOffer.h"
#include "plugins/PluginName.h"

namespace {

using W = TWeighting;
using S = TSizeFault;
constexpr int kArea = 4;  // the area average's entry: after the four functions

TFilterConfig Block(int w, int h, const char *func, int param, const char *kernel) {
    TFilterConfig b = InitialFilterConfig;
    b.Width = w;
    b.Height = h;
    WriteConfigName(b.WndFuncName, func);
    b.WndFuncParam = param;
    WriteConfigName(b.FilterPluginName, kernel);
    return b;
}

TConfigOffer Offer(bool funcs, bool kernels) {
    TConfigOffer o;
    if (funcs)
        o.WindowFuncs = {{"Lanczos", true, 1, 10, 3, 4},
                         {"Spline16", false, 0, 0, 0, 0},
                         {"Tent", false, 0, 0, 0, 7},
                         {"tent", false, 0, 0, 0, 8}};
    if (kernels) o.Kernels = {"SSE", "AVX"};
    o.MaxWidth = 640;
    o.MaxHeight = 480;
    o.ListedSizes = {"320x240", "640x480", "800x600"};  // a size listed beyond the largest frame
    return o;
}

struct TCase {
    const char *what;
    TFilterConfig block;
    bool funcs, kernels;
    // The frames, for the block as given; its parameter after func_update.
    W weighting;
    int func, param, kernel;
    S size;
    int synced;
    // The dialog's view: the block it keeps, its function and size entries.
    const char *shownFunc;
    int shownParam;
    const char *shownKernel;
    int shownWidth, funcEntry, sizeEntry;
    S refused;
    // The frames once restored with the dialog open: function, parameter.
    W after;
    int afterParam;
};

const TCase kCases[] = {
    {"exact", Block(320, 240, "Lanczos", 5, "AVX"), true, true, W::WindowFunc, 0, 5, 1, S::None, 5,
     "Lanczos", 5, "AVX", 320, 0, 0, S::None, W::WindowFunc, 5},
    {"unknown names", Block(320, 240, "Nope", 7, "Nope"), true, true, W::WindowFunc, 0, 3, 0,
     S::None, 7, "Lanczos", 4, "SSE", 320, 0, 0, S::None, W::WindowFunc, 4},
    {"empty names", Block(320, 240, "", 2, ""), true, true, W::WindowFunc, 0, 3, 0, S::None, 2,
     "Lanczos", 4, "SSE", 320, 0, 0, S::None, W::WindowFunc, 4},
    {"above the limits", Block(320, 240, "Lanczos", 40, "SSE"), true, true, W::WindowFunc, 0, 40, 0,
     S::None, 4, "Lanczos", 40, "SSE", 320, 0, 0, S::None, W::WindowFunc, 4},
    {"below: 16 bits without sign", Block(320, 240, "Lanczos", -1, "SSE"), true, true,
     W::WindowFunc, 0, 65535, 0, S::None, 4, "Lanczos", -1, "SSE", 320, 0, 0, S::None,
     W::WindowFunc, 4},
    {"letter case", Block(320, 240, "TENT", 0, "avx"), true, true, W::WindowFunc, 0, 3, 0, S::None,
     0, "Tent", 7, "AVX", 320, 2, 0, S::None, W::WindowFunc, 7},
    {"exact before case", Block(320, 240, "tent", 8, "SSE"), true, true, W::WindowFunc, 3, 8, 0,
     S::None, 8, "tent", 8, "SSE", 320, 3, 0, S::None, W::WindowFunc, 8},
    {"unlisted size", Block(400, 300, "AreaAverage", 9, "SSE"), true, true, W::AreaAverage, -1, 0,
     0, S::None, 9, "AreaAverage", 9, "SSE", 400, kArea, -1, S::None, W::AreaAverage, 0},
    {"beyond the largest", Block(641, 480, "Lanczos", 5, "SSE"), true, true, W::WindowFunc, 0, 5, 0,
     S::BeyondLargestFrame, 5, "Lanczos", 5, "SSE", 320, 0, 0, S::BeyondLargestFrame, W::WindowFunc,
     5},
    {"listed beyond", Block(800, 600, "Lanczos", 5, "SSE"), true, true, W::WindowFunc, 0, 5, 0,
     S::BeyondLargestFrame, 5, "Lanczos", 5, "SSE", 800, 0, 2, S::None, W::WindowFunc, 5},
    {"no size", Block(0, 240, "Lanczos", 5, "SSE"), true, true, W::WindowFunc, 0, 5, 0, S::NotASize,
     5, "Lanczos", 5, "SSE", 320, 0, 0, S::NotASize, W::WindowFunc, 5},
    {"area average, no functions", Block(320, 240, "AreaAverage", 0, "SSE"), false, true,
     W::AreaAverage, -1, 0, 0, S::None, 0, "AreaAverage", 0, "SSE", 320, 0, 0, S::None,
     W::AreaAverage, 0},
    {"a function, none listed", Block(320, 240, "Lanczos", 5, "SSE"), false, true, W::None, -1, 0,
     0, S::None, 5, "AreaAverage", 0, "SSE", 320, 0, 0, S::None, W::AreaAverage, 0},
    {"no kernels", Block(320, 240, "Lanczos", 5, "Any"), true, false, W::None, -1, 0, -1, S::None,
     5, "Lanczos", 5, "Any", 320, 0, 0, S::None, W::None, 0},
};

void ExpectRun(const TCase &c) {
    const TConfigOffer offer = Offer(c.funcs, c.kernels);
    const TConfigRun run = ResolveConfig(c.block, offer).Run;
    EXPECT_EQ(run.Applies, c.kernels);
    EXPECT_EQ(run.Weighting, c.weighting);
    EXPECT_EQ(run.WindowFunc, c.func);
    // A fallback is reported exactly when what runs is not what the block names.
    if (run.Weighting == W::WindowFunc) {
        EXPECT_EQ(run.Param, c.param);
        EXPECT_EQ(run.FuncFallback,
                  offer.WindowFuncs[c.func].Name != ReadConfigName(c.block.WndFuncName));
    }
    EXPECT_EQ(run.Kernel, c.kernel);
    if (run.Applies) {
        EXPECT_EQ(run.KernelFallback,
                  offer.Kernels[c.kernel] != ReadConfigName(c.block.FilterPluginName));
    }
    EXPECT_EQ(run.SizeFault, c.size);
    EXPECT_EQ(ResolveConfig(c.block, offer).Synced.WndFuncParam, c.synced);
}

void ExpectShown(const TCase &c) {
    TConfigOffer offer = Offer(c.funcs, c.kernels);
    offer.DialogShown = true;
    const TConfigResolution r = ResolveConfig(c.block, offer);
    EXPECT_EQ(ReadConfigName(r.Shown.WndFuncName), c.shownFunc);
    EXPECT_EQ(r.Shown.WndFuncParam, c.shownParam);
    EXPECT_EQ(ReadConfigName(r.Shown.FilterPluginName), c.shownKernel);
    EXPECT_EQ(r.Shown.Width, c.shownWidth);
    EXPECT_EQ(r.FuncEntry, c.funcEntry);
    const int kernelEntry = !c.kernels ? -1 : std::string(c.shownKernel) == "AVX" ? 1 : 0;
    EXPECT_EQ(r.KernelEntry, kernelEntry);
    EXPECT_EQ(r.SizeEntry, c.sizeEntry);
    EXPECT_EQ(r.SizeRefused, c.refused);
    const TConfigRun after = RunAfterRestore(c.block, offer);
    EXPECT_EQ(after.Weighting, c.after);
    if (after.Weighting == W::WindowFunc) {
        EXPECT_EQ(after.Param, c.afterParam);
    }
}

TEST(ConfigResolver, RunsCorrectionsAndTheDialogsView) {
    for (const TCase &c : kCases) {
        SCOPED_TRACE(c.what);
        ExpectRun(c);
        ExpectShown(c);
    }
}

// A parameter inside the limits is what the function remembers after
// func_update; one read from the settings is held to the limits of a
// function that shows it.
TEST(ConfigResolver, RememberedParameters) {
    const TConfigOffer offer = Offer(true, true);
    const TConfigResolution r = ResolveConfig(Block(320, 240, "Lanczos", 6, "SSE"), offer);
    EXPECT_EQ(r.RememberFunc, 0);
    EXPECT_EQ(r.Remembered, 6);
    EXPECT_EQ(ResolveConfig(Block(320, 240, "Lanczos", 11, "SSE"), offer).RememberFunc, -1);
    const TWindowFuncOffer &lanczos = offer.WindowFuncs[0], &tent = offer.WindowFuncs[2];
    EXPECT_EQ(HeldToLimits(lanczos, 70), 10);
    EXPECT_EQ(HeldToLimits(lanczos, -3), 1);
    EXPECT_EQ(HeldToLimits(tent, 70), 70);                     // no parameter shown: kept as read
    EXPECT_EQ(HeldToLimits({"Odd", true, 5, 1, 0, 0}, 9), 9);  // no range at all
}

// The filter's answer to a host program: what it encodes comes back whole,
// names with the settings' and the list's own separators included; a cut
// or altered answer is refused, never read as a shorter list.
TEST(FilterOffer, DecodesWhatItEncodesAndRefusesTheRest) {
    TFilterOffer offer;
    offer.Folder = "/opt/a b/DLL";
    offer.Settings = "/opt/a b/Morvane.ini";
    offer.WindowFuncs = Offer(true, true).WindowFuncs;
    offer.WindowFuncs[1].Name = "x=y,\n[z]";
    offer.WindowFuncs[0].Remembered = -32768;
    offer.Remembers = {true, false, true, true};
    offer.Kernels = {"SSE", "AVX-HQ"};
    const std::string text = EncodeOffer(offer);
    TFilterOffer back;
    ASSERT_TRUE(DecodeOffer(text, back));
    EXPECT_EQ(back.Folder, offer.Folder);
    EXPECT_EQ(back.Settings, offer.Settings);
    EXPECT_EQ(back.Remembers, offer.Remembers);
    EXPECT_EQ(back.Kernels, offer.Kernels);
    ASSERT_EQ(back.WindowFuncs.size(), offer.WindowFuncs.size());
    for (std::size_t i = 0; i < offer.WindowFuncs.size(); ++i) {
        const TWindowFuncOffer &a = offer.WindowFuncs[i], &b = back.WindowFuncs[i];
        EXPECT_EQ(
            std::tie(a.Name, a.HasParam, a.ParamMin, a.ParamMax, a.ParamDefault, a.Remembered),
            std::tie(b.Name, b.HasParam, b.ParamMin, b.ParamMax, b.ParamDefault, b.Remembered));
    }
    const TConfigOffer lists = back.ConfigOffer(640, 480);
    EXPECT_EQ(lists.Kernels, offer.Kernels);
    EXPECT_EQ(lists.MaxWidth, 640);

    // A cut answer reads only where a record ends: after the folder, the
    // settings, each of the four functions and the first kernel.
    int whole = 0;
    for (std::size_t cut = 1; cut < text.size(); ++cut)
        whole += DecodeOffer(text.substr(0, cut), back);
    EXPECT_EQ(whole, 7);
    using namespace std::string_literals;
    for (const std::string &bad : {"tile\0x\0"s,
                                   "func\0F\0"
                                   "1\0"
                                   "1\0"
                                   "4\0"
                                   "2\0"
                                   "99999\0"
                                   "1\0"s,
                                   "func\0F\0"
                                   "1\0"
                                   "1\0"
                                   "4\0"
                                   "2\0"
                                   "2x\0"
                                   "1\0"s,
                                   "kernel"s})
        EXPECT_FALSE(DecodeOffer(bad, back)) << bad;
}

}  // namespace
