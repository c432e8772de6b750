// The `morvane` tool run in-process: through the fake filter, which resizes
// by nearest neighbour, and end to end through the built Morvane.auf.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/FrameFormat.h"
#include "cli/PngFile.h"
#include "cli/PpmFile.h"
#include "cli/Progress.h"
#include "cli/TestPattern.h"
#include "cli/Tool.h"
#include "platform/Paths.h"
#include "tests/cli/CliTestFiles.h"

using cli_tests::FileExists;
using cli_tests::TFakeInstall;
using testing_support::FolderEntries;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

struct TRun {
    int status;
    std::string out, err;
};

TRun RunMorvane(const std::string &filter, const std::vector<std::string> &args) {
    std::ostringstream out, err;
    const int status = RunTool(args, filter, out, err);
    return {status, out.str(), err.str()};
}

bool Contains(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(Tool, ResizesTheBuiltinImageThroughTheFilter) {
    TFakeInstall install;
    TempDir work;
    const std::string output = work.Path() + "small.ppm";
    const TRun run =
        RunMorvane(install.Filter(), {"-s", "40x30", "-f", "Box", "--pattern", "160x120",
                                      "--frames", "3", "-t", "2", "builtin", output});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(Contains(run.out, "builtin 160x120 -> " + output + " 40x30")) << run.out;
    EXPECT_TRUE(Contains(run.out, "function  Box, parameter 2 (the filter's)")) << run.out;
    EXPECT_TRUE(Contains(run.out, "kernel    Fake (the first found)")) << run.out;
    EXPECT_TRUE(Contains(run.out, "threads   2")) << run.out;
    EXPECT_TRUE(Contains(run.out, "per frame (mean of 2)")) << run.out;

    // The fake samples every fourth pixel; the colour round trip is exact.
    const TPicture pattern = MakeTestPattern(160, 120);
    const TPicture result = ReadPpm(output);
    ASSERT_EQ(result.Width, 40);
    ASSERT_EQ(result.Height, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(result.At(x, y)[c], pattern.At(4 * x, 4 * y)[c])
                    << "pixel " << x << "," << y << " channel " << c;
}

TEST(Tool, ReadsAPpmAndPassesTheChosenParameter) {
    TFakeInstall install;
    TempDir work;
    TPicture input(7, 5, 3, 8);
    for (std::size_t i = 0; i < input.Bytes.size(); ++i) input.Bytes[i] = uint8_t(i);
    const std::string source = work.Path() + "in.ppm";
    WritePpm(source, input);
    const TRun run = RunMorvane(install.Filter(), {"-s", "14x10", "-f", "Box", "-p", "4", "-k",
                                                   "Fake", source, work.Path() + "big.ppm"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "function  Box, parameter 4\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "kernel    Fake\n")) << run.out;
    const TPicture result = ReadPpm(work.Path() + "big.ppm");
    EXPECT_EQ(result.Width, 14);
    EXPECT_EQ(result.Height, 10);
    EXPECT_EQ(result.At(13, 9)[2], input.At(6, 4)[2]);
}

TEST(Tool, ReportsOneLineAndLeavesNoOutputOnAFault) {
    TFakeInstall install;
    TempDir work;
    const std::string bad = work.Write("bad.ppm", "P6 4 4 255 short");
    const std::string kept = work.Write("kept.ppm", "earlier result");
    const std::string nowhere = work.Path() + "missing" + platform::PathDelimiter() + "out.ppm";
    const std::string folder = install.Root() + "DLL" + platform::PathDelimiter();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"-s", "8x8", "-f", "Box", "builtin", nowhere}, 1, nowhere + ": no such folder"},
        {{"-s", "8x8", "-f", "Box", bad, kept}, 1, bad + ": truncated: 5 of 48 sample bytes"},
        {{"-s", "8x8", "-f", "Spline99", "builtin", kept},
         1,
         folder + ": no window function \"Spline99\" (found: Box, Negate, Fail, AreaAverage)"},
        {{"-s", "8x8", "-f", "Box", "-k", "AVX", "builtin", kept},
         1,
         folder + ": no kernel plug-in \"AVX\" (found: Fake)"},
        {{"-s", "8x8", "-f", "Box", "-p", "9", "builtin", kept},
         2,
         "--param: 9 is outside Box's range 1 to 4 (see morvane --help)"},
        // Without -k the tool names the kernel it chose.
        {{"-s", "8x8", "-f", "Negate", "--pattern", "16x16", "builtin", kept},
         1,
         install.Filter() +
             ": the filter could not use window function \"Negate\" with kernel \"Fake\" (the frame came back 16x16, not 8x8)"},
        {{"-s", "8x8", "-f", "Fail", "builtin", kept},
         1,
         install.Filter() + ": func_proc failed on frame 0"},
        {{"-s", "8x8", "-f", "Box", "--max", "8x8", "--pattern", "9x8", "builtin", kept},
         2,
         "--max: the editor's largest frame 8x8 must hold the input and the target size (see morvane --help)"},
        {{"-s", "8x8", "-f", "Box", "--filter", work.Path() + "None.auf", "builtin", kept},
         1,
         work.Path() + "None.auf: no such file (the filter plug-in; see --filter)"},
    };
    for (const auto &c : cases) {
        const TRun run = RunMorvane(install.Filter(), c.args);
        EXPECT_EQ(run.status, c.status) << c.err;
        EXPECT_EQ(run.err, "morvane: " + c.err + "\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(ReadFile(kept), "earlier result");
    EXPECT_EQ(FolderEntries(work.Path()), (std::vector<std::string>{"bad.ppm", "kept.ppm"}));
}

TEST(Tool, RefusesAFilterWithoutPlugins) {
    TFakeInstall bare(false);
    TempDir work;
    const TRun run =
        RunMorvane(bare.Filter(), {"-s", "8x8", "-f", "Box", "builtin", work.Path() + "out.ppm"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "no window-function plug-in")) << run.err;
    EXPECT_FALSE(FileExists(work.Path() + "out.ppm"));
}

TEST(Tool, ListsThePluginFolder) {
    TFakeInstall install;
    const TRun run = RunMorvane(install.Filter(), {"--list"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "  Box  parameter 1 to 4, default 2\n  Negate\n  Fail\n"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "kernels:\n  Fake\n")) << run.out;
    EXPECT_TRUE(Contains(RunMorvane("", {"--help"}).out, "-f,--func"));
}

namespace {

// The shipped filter, kernels and window functions, copied into a scratch
// installation so that the filter's settings file lands there; the filter's
// path, or empty when it is not built.
std::string CopyShipped(const TempDir &install) {
    const std::string shipped = testing_support::DistDir() + "Morvane.auf";
    if (!FileExists(shipped)) return "";
    const std::string filter = install.CopyIn(shipped, "Morvane.auf");
    const std::string dll = std::string("DLL") + platform::PathDelimiter();
    std::filesystem::create_directory(install.Path() + "DLL");
    for (const std::string &name : FolderEntries(testing_support::PluginDir()))
        install.CopyIn(testing_support::PluginDir() + name, dll + name);
    return filter;
}

}  // namespace

TEST(ToolWithMorvane, ResizesTheBuiltinImage) {
    TempDir install;
    const std::string filter = CopyShipped(install);
    if (filter.empty())
        GTEST_SKIP() << "Morvane.auf is not built in " << testing_support::DistDir();
    TempDir work;

    for (const char *func : {"Spline16", "AreaAverage"}) {
        const std::string output = work.Path() + func + ".ppm";
        const TRun run = RunMorvane(filter, {"-s", "160x90", "--pattern", "320x180", "--frames",
                                             "2", "-f", func, "builtin", output});
        ASSERT_EQ(run.status, 0) << run.err;
        // Without -k the fastest kernel on offer, not the first found.
        const std::string fastest =
            Contains(RunMorvane(filter, {"--list"}).out, "\n  AVX\n") ? "AVX" : "SSE";
        EXPECT_TRUE(
            Contains(run.out, "kernel    " + fastest + " (the fastest this processor runs)"))
            << run.out;
        const TPicture result = ReadPpm(output);
        ASSERT_EQ(result.Width, 160);
        ASSERT_EQ(result.Height, 90);
        // The middle of each colour bar keeps its colour.
        static const uint8_t bars[8][3] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255},
                                           {0, 255, 0},     {255, 0, 255}, {255, 0, 0},
                                           {0, 0, 255},     {0, 0, 0}};
        for (int i = 0; i < 8; ++i)
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(result.At(10 * i + 5, 80)[c], bars[i][c], 3)
                    << func << ", bar " << i << ", channel " << c;
    }
    const std::string nowhere = work.Path() + "missing" + platform::PathDelimiter() + "out.ppm";
    const TRun run =
        RunMorvane(filter, {"-s", "160x90", "--pattern", "320x180", "builtin", nowhere});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "morvane: " + nowhere + ": no such folder\n");
    EXPECT_FALSE(FileExists(work.Path() + "missing"));
}

// The tool offers and reports what the filter does under its settings file's
// "Func_" switches.
TEST(ToolWithMorvane, SeesTheFunctionsTheSettingsSwitch) {
    const char *const allOff =
        "Func_Spline16=0,0,0\r\nFunc_Spline36=0,0,0\r\nFunc_Spline64=0,0,0\r\n"
        "Func_Lanczos=0,3,0\r\nFunc_Bicubic=0,50,0\r\nFunc_Bilinear=0,0,0\r\n";
    const struct {
        std::string settings;
        std::vector<std::string> args;
        int status;
        std::string expected;  // in the output, or in the error when status is not 0
        std::string absent;    // from the output
    } cases[] = {
        {"Func_Lanczos=0,3,0\r\n", {"--list"}, 0, "  Spline64\n  Bicubic", "Lanczos"},
        {"Func_Lanczos=0,3,0\r\n",
         {"-f", "Lanczos"},
         1,
         "no window function \"Lanczos\" (found: Spline16, Spline36, Spline64, Bicubic, Bilinear, AreaAverage)",
         ""},
        {"Func_Lanczos=1,99,0\r\n",
         {"-f", "Lanczos"},
         0,
         "function  Lanczos, parameter 8 (the filter's)",
         ""},
        {"Func_Lanczos=1,-5,0\r\n",
         {"-f", "Lanczos"},
         0,
         "function  Lanczos, parameter 1 (the filter's)",
         ""},
        {"Func_Lanczos=1,5,0\r\n",
         {"-f", "Lanczos"},
         0,
         "function  Lanczos, parameter 5 (the filter's)",
         ""},
        {allOff, {"-f", "AreaAverage"}, 0, "function  AreaAverage\n", ""},
        {allOff,
         {"-f", "Spline16"},
         1,
         "no window-function plug-in (only AreaAverage works without one)",
         ""},
    };
    for (const auto &c : cases) {
        TempDir install;
        const std::string filter = CopyShipped(install);
        if (filter.empty())
            GTEST_SKIP() << "Morvane.auf is not built in " << testing_support::DistDir();
        install.Write("Morvane.ini", "[Morvane]\r\n" + c.settings);
        TempDir work;
        std::vector<std::string> args = c.args;
        if (args[0] != "--list")
            args.insert(args.end(),
                        {"-s", "40x30", "--pattern", "80x60", "builtin", work.Path() + "out.ppm"});
        const TRun run = RunMorvane(filter, args);
        const std::string what = c.settings + " " + c.args[0] + " " + c.args.back();
        EXPECT_EQ(run.status, c.status) << what << ": " << run.err;
        EXPECT_TRUE(Contains(c.status == 0 ? run.out : run.err, c.expected))
            << what << ": " << run.out << run.err;
        if (!c.absent.empty()) {
            EXPECT_FALSE(Contains(run.out, c.absent)) << what << ": " << run.out;
        }
        if (c.status != 0) {
            EXPECT_FALSE(FileExists(work.Path() + "out.ppm")) << what;
        }
    }
}

// The progress line: the total, once passed (an estimate from a file's
// size), is dropped rather than shown as more than all.
TEST(Progress, TheLineSaysHowFarWhileTheTotalHolds) {
    const struct {
        int done, total;
        double seconds;
        const char *line;
    } cases[] = {
        {37, 0, 0.5, "morvane: 37 frames, 74.0 frames/s"},
        {30, 120, 0.5, "morvane: 30/120 frames (25.0%), 60.0 frames/s, 1.5 s left"},
        {120, 120, 2.0, "morvane: 120/120 frames (100.0%), 60.0 frames/s, 0.0 s left"},
        {121, 120, 2.0, "morvane: 121 frames, 60.5 frames/s"},
        {1, 4, 0.0, "morvane: 1/4 frames (25.0%), 0.0 frames/s, 0.0 s left"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ProgressText(c.done, c.total, c.seconds, "frames"), c.line);
    // A file of a 40-byte header and three frames of 96 bytes, each after "FRAME\n".
    EXPECT_EQ(StreamFrameCount(40 + 3 * 102, 40, 96), 3);
    EXPECT_EQ(StreamFrameCount(40 + 3 * 102 - 1, 40, 96), 2);  // cut short in its last
    EXPECT_EQ(StreamFrameCount(40, 40, 96), 0);
}

namespace {

// An 8-bit picture of `channels` with samples from `random`.
TPicture RandomPicture(int width, int height, int channels, std::mt19937 &random) {
    TPicture p(width, height, channels, 8);
    for (uint8_t &b : p.Bytes) b = uint8_t(random());
    return p;
}

// Frames of 8-bit codes inside the nominal range, so that they come back.
std::string Y4mFile(const std::string &header, std::size_t frameBytes, int frames,
                    std::mt19937 &random) {
    std::string file = header + "\n";
    for (int f = 0; f < frames; ++f) {
        file += kY4mFrameLine;
        for (std::size_t i = 0; i < frameBytes; ++i) file += char(16 + random() % 220);
    }
    return file;
}

}  // namespace

// Every kind of source and sink carries its frames through a host frame
// and back unchanged where the way there and back is exact: both frames
// of each side in turn, cut into two bands each way, and as many frames as
// the source holds (a picture its --frames times).
TEST(FrameFormat, SourcesAndSinksCarryFramesThroughTheHostUnchanged) {
    TempDir work;
    std::mt19937 random(3);
    WritePpm(work.Path() + "in.ppm", RandomPicture(37, 21, 3, random));
    if (IsPngAvailable()) {
        work.Write("grey.png", EncodePng(RandomPicture(37, 21, 1, random)));
        work.Write("rgb.png", EncodePng(RandomPicture(5, 9, 3, random)));
    }
    work.Write("c444.y4m", Y4mFile("YUV4MPEG2 W7 H5 F25:1 C444", 7 * 5 * 3, 3, random));
    work.Write("mono.y4m", Y4mFile("YUV4MPEG2 W9 H4 Cmono XTAG", 9 * 4, 2, random));
    const struct {
        const char *in, *out;
        int frames;
    } cases[] = {{"in.ppm", "out.ppm", 2},
                 {"grey.png", "out.png", 1},
                 {"rgb.png", "out.png", 3},
                 {"c444.y4m", "out.y4m", 3},
                 {"mono.y4m", "out.y4m", 2}};
    for (const auto &c : cases) {
        const std::string in = work.Path() + c.in, out = work.Path() + c.out;
        if (KindOf(in) == TFileKind::Png && !IsPngAvailable()) continue;
        TToolOptions o;
        o.Frames = c.frames;
        std::ostringstream warnings;
        const std::unique_ptr<TFrameSource> source = OpenSource(in, KindOf(in), o, warnings);
        const TFrameFormat &f = source->Format();
        const std::unique_ptr<TFrameSink> sink =
            MakeSink(out, KindOf(out), f, f.Width, f.Height, o, warnings);
        sink->Open();
        TYcImage host(f.Width, f.Height);
        int frames = 0;
        for (int slot = 0; source->Read(slot); slot ^= 1, ++frames) {
            source->ToHost(slot, host.Pixels.data(), f.Width, 0, f.Height / 2);
            source->ToHost(slot, host.Pixels.data(), f.Width, f.Height / 2, f.Height);
            sink->FromHost(slot, host.Pixels.data(), f.Width, 0, sink->Bands() / 2);
            sink->FromHost(slot, host.Pixels.data(), f.Width, sink->Bands() / 2, sink->Bands());
            sink->Write(slot);
        }
        sink->Commit();
        EXPECT_EQ(frames, c.frames) << c.in;
        EXPECT_EQ(ReadFile(out), ReadFile(in)) << c.in;
        EXPECT_EQ(warnings.str(), "") << c.in;
    }
}
