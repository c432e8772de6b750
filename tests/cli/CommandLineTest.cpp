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
    const TToolOptions o = ParseCommandLine({"--size=1280x720", "-f", "Lanczos", "--param", "3",
                                             "-k", "AVX", "--threads=3", "--frames", "2",
                                             "--pattern", "640x360", "--max", "2000x1200",
                                             "--filter", "x/M.auf", "builtin", "out.ppm"});
    EXPECT_EQ(o.Width, 1280);
    EXPECT_EQ(o.Height, 720);
    EXPECT_EQ(o.Func, "Lanczos");
    EXPECT_TRUE(o.HasParam);
    EXPECT_EQ(o.Param, 3);
    EXPECT_EQ(o.Kernel, "AVX");
    EXPECT_EQ(o.Threads, 3);
    EXPECT_EQ(o.Frames, 2);
    EXPECT_EQ(o.PatternWidth, 640);
    EXPECT_EQ(o.MaxHeight, 1200);
    EXPECT_EQ(o.FilterPath, "x/M.auf");
    EXPECT_EQ(o.Input, "builtin");
    EXPECT_EQ(o.Output, "out.ppm");
}

TEST(CommandLine, NamesTheOptionAtFault) {
    EXPECT_EQ(FaultOf({"in.ppm", "out.ppm"}), "--size: the target size is missing");
    EXPECT_EQ(FaultOf({"-s", "64x64", "in.ppm"}), "expected INPUT and OUTPUT, got 1 file name");
    EXPECT_EQ(FaultOf({"-s"}), "-s: a value is missing");
    EXPECT_EQ(FaultOf({"-s", "1280X720", "a", "b"}),
              "-s: expected a size such as 1280x720 (1 to 32768 per side), got \"1280X720\"");
    EXPECT_EQ(FaultOf({"-s", "0x720", "a", "b"}).substr(0, 24), "-s: expected a size such");
    EXPECT_EQ(FaultOf({"-s", "64x64x", "a", "b"}).substr(0, 24), "-s: expected a size such");
    EXPECT_EQ(FaultOf({"-s", "64x64", "-p", "40000", "a", "b"}),
              "-p: expected a whole number from -32768 to 32767, got \"40000\"");
    EXPECT_EQ(FaultOf({"-s", "64x64", "-t", "0", "a", "b"}),
              "-t: expected a whole number from 1 to 256, got \"0\"");
    EXPECT_EQ(FaultOf({"-s", "64x64", "-f", std::string(33, 'a'), "a", "b"}),
              "-f: \"" + std::string(33, 'a') + "\" is longer than 32 bytes");
    EXPECT_EQ(FaultOf({"--sise", "64x64"}), "--sise: unknown option");
    EXPECT_EQ(FaultOf({"--help=yes"}), "--help: takes no value");
}

TEST(CommandLine, HelpAndListNeedNoFiles) {
    EXPECT_TRUE(ParseCommandLine({"--help"}).Help);
    EXPECT_TRUE(ParseCommandLine({"--list", "--filter", "M.auf"}).List);
}

TEST(CommandLine, FillsTheSavedBlockAsAProjectWouldHoldIt) {
    TToolOptions o = ParseCommandLine({"-s", "320x240", "-f", "Spline36", "-k", "SSE", "a", "b"});
    TFilterConfig block = MakeConfigBlock(o);
    EXPECT_EQ(block.Width, 320);
    EXPECT_EQ(block.Height, 240);
    EXPECT_EQ(std::string(block.WndFuncName, sizeof block.WndFuncName), std::string("Spline36") + std::string(24, '\0'));
    EXPECT_EQ(std::string(block.FilterPluginName, 4), std::string("SSE\0", 4));
    EXPECT_EQ(block.WndFuncParam, INT_MIN);  // the filter substitutes its own
    o.HasParam = true;
    o.Param = -4;
    o.Func = std::string(32, 'n');  // a full field has no NUL
    block = MakeConfigBlock(o);
    EXPECT_EQ(block.WndFuncParam, -4);
    EXPECT_EQ(std::string(block.WndFuncName, 32), o.Func);
    EXPECT_EQ(block.FilterPluginName[0], 'S');
}
