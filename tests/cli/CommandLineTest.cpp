// The tool's command line: what it accepts and how it refuses.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ConfigBlock.h"

namespace {

std::string FaultOf(const std::vector<std::string> &args) {
    try {
        ParseCommandLine(args);
    } catch (const TUsageError &e) {
        return e.what();
    }
    return "accepted";
}

}  // namespace

TEST(CommandLine, ReadsEveryOptionInBothSpellings) {
    const TToolOptions o = ParseCommandLine({"--size=1280x720",
                                             "-f",
                                             "Lanczos",
                                             "--param",
                                             "-3",
                                             "-k",
                                             "AVX",
                                             "--threads=3",
                                             "--frames",
                                             "2",
                                             "--pattern",
                                             "640x360",
                                             "--max",
                                             "2000x1200",
                                             "-q",
                                             "--filter",
                                             "x/M.auf",
                                             "--quality",
                                             "1",
                                             "builtin",
                                             "out.ppm"});
    EXPECT_EQ(o.Size.Width, 1280);
    EXPECT_EQ(o.Size.Height, 720);
    EXPECT_EQ(o.Func, "Lanczos");
    EXPECT_TRUE(o.HasParam);
    EXPECT_EQ(o.Param, -3);
    EXPECT_EQ(o.Kernel, "AVX");
    EXPECT_EQ(o.Threads, 3);
    EXPECT_EQ(o.Frames, 2);
    EXPECT_EQ(o.PatternWidth, 640);
    EXPECT_EQ(o.MaxHeight, 1200);
    EXPECT_TRUE(o.Quiet);
    EXPECT_EQ(o.FilterPath, "x/M.auf");
    EXPECT_EQ(o.Quality, 1);
    EXPECT_EQ(ParseCommandLine({"-s", "8x8", "a", "b"}).Quality, 90);
    EXPECT_EQ(o.Inputs, std::vector<std::string>{"builtin"});
    EXPECT_EQ(o.Output, "out.ppm");
    EXPECT_FALSE(o.OutputIsFolder);

    const TToolOptions batch =
        ParseCommandLine({"--fit", "640x480", "--even", "a.png", "-", "b.y4m", "-o", "out"});
    EXPECT_TRUE(batch.Size.Fit && batch.Size.Even);
    EXPECT_EQ(batch.Inputs, (std::vector<std::string>{"a.png", "-", "b.y4m"}));
    EXPECT_TRUE(batch.OutputIsFolder);
}

TEST(CommandLine, NamesTheOptionAtFault) {
    const struct {
        std::vector<std::string> args;
        std::string fault;
    } cases[] = {
        {{"in.ppm", "out.ppm"}, "--size: the target size is missing (or give --fit)"},
        {{"-s", "64x64", "in.ppm"}, "expected INPUT and OUTPUT, got 1 file name"},
        {{"-s", "64x64", "a", "b", "c"},
         "several inputs need -o OUTDIR or an existing folder as OUTPUT, not \"c\""},
        {{"-s", "1280X720", "a", "b"},
         "--size: expected a size such as 1280x720, 1280x or x720 (up to 8192x8192), got \"1280X720\""},
        {{"-s", "x", "a", "b"},
         "--size: expected a size such as 1280x720, 1280x or x720 (up to 8192x8192), got \"x\""},
        {{"--fit", "64x", "a", "b"},
         "--fit: expected a size such as 1280x720 (up to 8192x8192), got \"64x\""},
        {{"-s", "64x64", "--fit", "64x64", "a", "b"}, "--size excludes --fit"},
        {{"-s", "64x64", "-p", "40000", "a", "b"},
         "--param: Value 40000 not in range -32768 to 32767"},
        {{"-s", "64x64", "-t", "0", "a", "b"}, "--threads: Value 0 not in range 1 to 256"},
        {{"-s", "64x64", "--quality", "0", "a", "b"}, "--quality: Value 0 not in range 1 to 100"},
        {{"-s", "64x64", "--quality", "101", "a", "b"},
         "--quality: Value 101 not in range 1 to 100"},
        {{"-s", "64x64", "-f", std::string(33, 'a'), "a", "b"},
         "--func: \"" + std::string(33, 'a') + "\" is longer than 32 bytes"},
        {{"-s", "64x64", "-s", "32x32", "a", "b"}, "--size: At Most 1 required but received 2"},
        {{"--sise", "64x64"}, "The following argument was not expected: --sise"},
    };
    for (const auto &c : cases) EXPECT_EQ(FaultOf(c.args), c.fault);
}

TEST(CommandLine, HelpVersionAndListNeedNoFiles) {
    EXPECT_TRUE(ParseCommandLine({"--help"}).Help);
    EXPECT_TRUE(ParseCommandLine({"--version"}).Version);
    EXPECT_TRUE(ParseCommandLine({"--list", "--filter", "M.auf"}).List);
    const std::string help = HelpText();
    EXPECT_NE(help.find("Largest frame: 8192x8192"), std::string::npos);
    EXPECT_NE(help.find("--fit"), std::string::npos);
}

TEST(CommandLine, ResolvesSizesAsPeopleWriteThem) {
    const struct {
        std::string text;
        bool fit, even;
        int inW, inH, w, h;
    } cases[] = {
        {"1280x720", false, false, 640, 640, 1280, 720},  // exact, whatever the input
        {"1280x", false, false, 1920, 1080, 1280, 720},
        {"x100", false, false, 1920, 1080, 178, 100},  // 177.8
        {"x100", false, true, 1920, 1080, 178, 100},
        {"101x", false, true, 100, 75, 101, 76},  // 75.75 to even
        {"1x", false, false, 1, 8192, 1, 8192},
        {"3x", false, true, 100, 1, 3, 2},  // never below 2 when even
        {"640x640", true, false, 1920, 1080, 640, 360},
        {"640x640", true, false, 1080, 1920, 360, 640},
        {"641x361", true, true, 1920, 1080, 640, 360},
        {"1000x100", true, false, 400, 300, 133, 100},
    };
    for (const auto &c : cases) {
        TSizeRequest r;
        ASSERT_TRUE(ParseSizeWithin(c.text, !c.fit, 8192, 8192, r.Width, r.Height)) << c.text;
        r.Fit = c.fit;
        r.Even = c.even;
        int w, h;
        ResolveSize(r, c.inW, c.inH, w, h);
        EXPECT_EQ(w, c.w) << c.text << " from " << c.inW << "x" << c.inH;
        EXPECT_EQ(h, c.h) << c.text << " from " << c.inW << "x" << c.inH;
    }
    int w, h;
    for (const char *bad :
         {"", "x", "64", "0x5", "8193x1", "-1x5", "+5x5", "5x\t5", "5x5x", " 5x5", "5xx"})
        EXPECT_FALSE(ParseSizeWithin(bad, true, 8192, 8192, w, h)) << bad;
}

TEST(CommandLine, FillsTheSavedBlockAsAProjectWouldHoldIt) {
    TToolOptions o = ParseCommandLine({"-s", "320x240", "-f", "Spline36", "-k", "SSE", "a", "b"});
    TFilterConfig block = MakeConfigBlock(o, o.Size.Width, o.Size.Height);
    EXPECT_EQ(block.Width, 320);
    EXPECT_EQ(block.Height, 240);
    EXPECT_EQ(std::string(block.WndFuncName, sizeof block.WndFuncName),
              std::string("Spline36") + std::string(24, '\0'));
    EXPECT_EQ(std::string(block.FilterPluginName, 4), std::string("SSE\0", 4));
    EXPECT_EQ(block.WndFuncParam, INT_MIN);  // the filter substitutes its own
    o.HasParam = true;
    o.Param = -4;
    o.Func = std::string(32, 'n');  // a full field has no NUL
    block = MakeConfigBlock(o, o.Size.Width, o.Size.Height);
    EXPECT_EQ(block.WndFuncParam, -4);
    EXPECT_EQ(std::string(block.WndFuncName, 32), o.Func);
    EXPECT_EQ(block.FilterPluginName[0], 'S');
}
