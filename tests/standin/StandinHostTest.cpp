// The stand-in host against the fake filter: the editor's calls in order,
// the saved block, the frames and what the host checks of the plug-in.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "standin/StandinHost.h"
#include "abi/FilterConfig.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TestLog.h"

using test_log::TLogFile;
using Lines = std::vector<std::string>;

namespace {

TFilterConfig Block(const char *mode, int width, int height, int param = 5) {
    TFilterConfig block = InitialFilterConfig;
    std::memset(block.WndFuncName, 0, sizeof block.WndFuncName);
    std::strcpy(block.WndFuncName, mode);
    block.Width = width;
    block.Height = height;
    block.WndFuncParam = param;
    return block;
}

// Every pixel different, so a misplaced one shows.
TYcImage Numbered(int width, int height) {
    TYcImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.At(x, y) = {int16_t(x), int16_t(y), int16_t(x * y)};
    return image;
}

void ExpectPixel(const PIXEL_YC &p, int y, int cb, int cr, const std::string &where) {
    EXPECT_TRUE(p.y == y && p.cb == cb && p.cr == cr)
        << where << ": expected (" << y << ", " << cb << ", " << cr << "), got (" << p.y << ", "
        << p.cb << ", " << p.cr << ")";
}

TFrameResult RunMode(const char *mode, const TYcImage &frame, int maxW = 64, int maxH = 48) {
    TStandinHost host(testing_support::TestBinDir() + "FakeFilter.dll", maxW, maxH, 2);
    host.Init();
    const TFilterConfig block = Block(mode, 16, 8);
    host.RestoreProject(&block, sizeof block);
    return host.ProcessFrame(frame);
}

}  // namespace

TEST(StandinHost, DrivesTheFilterThroughTheEditorsCallsInOrder) {
    TLogFile log;
    {
        TStandinHost host(testing_support::TestBinDir() + "FakeFilter.dll", 64, 48, 3);
        EXPECT_EQ(host.FilterName(), "Fake filter");
        EXPECT_EQ(host.Information(), "Fake filter for the stand-in host");
        EXPECT_EQ(host.Flags(), 0x44400);
        EXPECT_EQ(host.Init(), TRUE);
        EXPECT_EQ(host.OpenWindow(), 0x11);
        EXPECT_NE(host.Window(), nullptr);
        const TFilterConfig block = Block("Nearest", 16, 8);
        EXPECT_EQ(host.RestoreProject(&block, sizeof block), TRUE);
        EXPECT_EQ(host.ProcessFrame(Numbered(32, 16)).Result, TRUE);
        EXPECT_EQ(host.ChangeActive(false), 0x20);
        EXPECT_EQ(host.ChangeActive(true), 0x21);
        EXPECT_EQ(host.CloseWindow(), 0x30);
        EXPECT_EQ(host.Window(), nullptr);
        // func_exit and unloading are left to the destructor, as on closing.
    }
    EXPECT_EQ(
        log.Lines(),
        (Lines{"load", "table", "init 64x48", "message 0x467 window", "update 0 Nearest 16x8 5",
               "proc 32x16 stride 64 height 48 aligned 1", "threads 3 ok", "message 0x46d window",
               "message 0x46d window", "message 0x468 window", "exit", "unload"}));
}

TEST(StandinHost, ClosesWhatIsStillOpenInTheEditorsOrder) {
    TLogFile log;
    {
        TStandinHost host(testing_support::TestBinDir() + "FakeFilter.dll", 8, 8);
        host.Init();
        host.OpenWindow();
    }
    EXPECT_EQ(log.Lines(), (Lines{"load", "table", "init 8x8", "message 0x467 window",
                                  "message 0x468 window", "exit", "unload"}));
}

TEST(StandinHost, CallsFuncExitOnce) {
    TLogFile log;
    {
        TStandinHost host(testing_support::TestBinDir() + "FakeFilter.dll", 8, 8);
        EXPECT_EQ(host.Exit(), TRUE);  // before func_init: nothing to close
        host.Init();
        EXPECT_EQ(host.Exit(), TRUE);
        EXPECT_EQ(host.Exit(), TRUE);
    }
    EXPECT_EQ(log.Lines(), (Lines{"load", "table", "init 8x8", "exit", "unload"}));
}

TEST(StandinHost, ForwardsMessagesAndTheirResults) {
    TStandinHost host(testing_support::TestBinDir() + "FakeFilter.dll", 8, 8);
    EXPECT_EQ(host.SendFilterMessage(0x1234, 0, 77), 77);
    EXPECT_EQ(host.SendFilterMessage(0x1234, 0, 0), FALSE);
    host.SetActive(false);
    EXPECT_EQ(host.OpenWindow(), 0x10);  // the fake answers is_filter_active
    host.SetActive(true);
    EXPECT_EQ(host.SendFilterMessage(WM_FILTER_INIT), 0x11);
}

TEST(StandinHost, CopiesTheProjectBlockInAndOut) {
    TLogFile log;
    TStandinHost host(testing_support::TestBinDir() + "FakeFilter.dll", 8, 8);
    const std::vector<uint8_t> initial = host.SaveProject();
    ASSERT_EQ(initial.size(), 76u);
    TFilterConfig loaded = InitialFilterConfig;
    std::memcpy(&loaded, initial.data(), sizeof loaded);
    EXPECT_STREQ(loaded.WndFuncName, "Nearest");

    TFilterConfig block = Block("Negate", 300, 200, -7);
    std::strcpy(block.FilterPluginName, "AVX");
    EXPECT_EQ(host.RestoreProject(&block, sizeof block), TRUE);
    const std::vector<uint8_t> saved = host.SaveProject();
    ASSERT_EQ(saved.size(), sizeof block);
    EXPECT_EQ(std::memcmp(saved.data(), &block, sizeof block), 0);
    EXPECT_EQ(log.Lines().back(), "update 0 Negate 300x200 -7");

    try {
        host.RestoreProject(&block, 75);
        FAIL() << "a 75-byte block was taken";
    } catch (const THostError &e) {
        EXPECT_NE(std::string(e.what()).find("keeps 76 bytes of project data, not 75"),
                  std::string::npos)
            << e.what();
    }
}

// A filter may hand back another frame of another size, or change its own
// in place; either way the host takes what it leaves.
TEST(StandinHost, TakesTheFrameTheFilterLeaves) {
    struct Case {
        const char *Mode;
        int Width, Height, OutWidth, OutHeight;
        int Scale, Sign;  // pixel (x, y) becomes (Sign·Scale·x, Sign·Scale·y, Sign·Scale²·x·y)
    };
    for (const Case &c :
         {Case{"Nearest", 32, 16, 16, 8, 2, 1}, Case{"Negate", 13, 5, 13, 5, 1, -1}}) {
        const TFrameResult result = RunMode(c.Mode, Numbered(c.Width, c.Height));
        ASSERT_EQ(result.Image.Width, c.OutWidth) << c.Mode;
        ASSERT_EQ(result.Image.Height, c.OutHeight) << c.Mode;
        for (int y = 0; y < c.OutHeight; ++y)
            for (int x = 0; x < c.OutWidth; ++x)
                ExpectPixel(
                    result.Image.At(x, y), c.Sign * c.Scale * x, c.Sign * c.Scale * y,
                    c.Sign * c.Scale * c.Scale * x * y,
                    std::string(c.Mode) + " pixel " + std::to_string(x) + "," + std::to_string(y));
    }
    EXPECT_EQ(RunMode("Fail", Numbered(13, 5)).Result, FALSE);
}

TEST(StandinHost, RoundsTheLineStrideUpToEightPixels) {
    TLogFile log;
    {
        TStandinHost host(testing_support::TestBinDir() + "FakeFilter.dll", 61, 20);
        EXPECT_EQ(host.Stride(), 64);
        EXPECT_EQ(host.MaxWidth(), 61);
        host.Init();
        const TFilterConfig block = Block("Negate", 1, 1);
        host.RestoreProject(&block, sizeof block);
        host.ProcessFrame(Numbered(61, 20));
    }
    const Lines lines = log.Lines();
    EXPECT_EQ(lines[2], "init 61x20");  // get_sys_info: the largest frame as asked
    EXPECT_EQ(lines[4], "proc 61x20 stride 64 height 20 aligned 1");
}

TEST(StandinHost, RejectsFramesOutsideTheLargestFrame) {
    const auto expectFault = [](const char *mode, const TYcImage &frame, const std::string &fault) {
        try {
            RunMode(mode, frame, 40, 30);
            ADD_FAILURE() << mode << ": no fault reported";
        } catch (const THostError &e) {
            const std::string what = e.what();
            EXPECT_NE(what.find("FakeFilter.dll: " + fault), std::string::npos) << what;
        }
    };
    expectFault("Negate", Numbered(41, 30),
                "frame size 41x30 is outside the host's largest frame 40x30");
    expectFault("Oversize", Numbered(40, 30), "frame size 41x30 is outside");
    expectFault("Stray", Numbered(10, 10),
                "func_proc left ycp_edit pointing outside the host's frames");
}

TEST(StandinHost, CallsNothingARecordLeavesNull) {
    TStandinHost host(testing_support::TestBinDir() + "FakeFilterBare.dll", 16, 16);
    EXPECT_EQ(host.FilterName(), "Fake filter");
    EXPECT_EQ(host.Init(), TRUE);
    EXPECT_EQ(host.OpenWindow(), FALSE);
    EXPECT_EQ(host.CloseWindow(), FALSE);
    const TFrameResult result = host.ProcessFrame(Numbered(5, 4));
    EXPECT_EQ(result.Result, TRUE);
    EXPECT_EQ(result.Image.Width, 5);
    ExpectPixel(result.Image.At(4, 3), 4, 3, 12, "pixel 4,3");
    EXPECT_TRUE(host.SaveProject().empty());
    const TFilterConfig block = InitialFilterConfig;
    EXPECT_THROW(host.RestoreProject(&block, sizeof block), THostError);
    EXPECT_EQ(host.Exit(), TRUE);
}

TEST(StandinHost, NamesTheFileAndFaultWhenAPluginCannotBeUsed) {
    testing_support::TempDir dir;
    const std::string notALibrary = dir.Write("Text.auf", "not a library");
    // Cut short, the loader would map pages past the end of the file.
    const std::string whole =
        testing_support::ReadFile(testing_support::TestBinDir() + "FakeFilter.dll");
    const std::string truncated = dir.Write("Cut.auf", whole.substr(0, whole.size() / 2));
#ifdef _WIN32
    const char *const truncatedFault =
        "not a loadable library for this system";  // the loader's own check
#else
    const char *const truncatedFault = "truncated library (section headers past the end)";
#endif
    const struct {
        std::string path, fault;
    } cases[] = {
        {dir.Path() + "Missing.auf", "no such file"},
        {notALibrary, "not a loadable library for this system"},
        {truncated, truncatedFault},
        {testing_support::TestBinDir() + "FakeFilterNoExport.dll", "no export GetFilterTable"},
        {testing_support::TestBinDir() + "FakeFilterNoRecord.dll",
         "GetFilterTable returned no record"},
    };
    for (const auto &c : cases) {
        try {
            TStandinHost host(c.path, 8, 8);
            ADD_FAILURE() << c.path << " was accepted";
        } catch (const THostError &e) {
            EXPECT_EQ(std::string(e.what()), c.path + ": " + c.fault);
        }
    }
}

TEST(StandinHost, UnloadsAPluginThatReturnsNoRecord) {
    TLogFile log;
    EXPECT_THROW(TStandinHost(testing_support::TestBinDir() + "FakeFilterNoRecord.dll", 8, 8),
                 THostError);
    EXPECT_EQ(log.Lines(), (Lines{"load", "table", "unload"}));
}

TEST(StandinHost, AllowsOneHostPerProcess) {
    {
        TStandinHost first(testing_support::TestBinDir() + "FakeFilter.dll", 8, 8);
        EXPECT_THROW(TStandinHost(testing_support::TestBinDir() + "FakeFilterBare.dll", 8, 8),
                     THostError);
    }
    TStandinHost next(testing_support::TestBinDir() + "FakeFilterBare.dll", 8, 8);
    EXPECT_EQ(next.Init(), TRUE);
}
