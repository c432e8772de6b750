// The built `morvane` run as a process through the built Morvane.auf, with
// ffmpeg making the inputs and reading the outputs.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/PngFile.h"
#include "cli/PpmFile.h"
#include "cli/Y4mStream.h"
#include "tests/support/TestPaths.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

struct TRun {
    int Status;
    std::string Err;
};

class ToolProcess : public testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(fs::path(MORVANE_TOOL).parent_path() / "Morvane.auf") ||
            std::system("ffmpeg -version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "needs the built Morvane.auf and ffmpeg";
    }
    // A bash command in the work folder; MORVANE names the tool.
    TRun Shell(const std::string &command) const {
        const std::string err = Dir.Path() + "stderr.txt";
        const std::string line = "cd '" + Dir.Path() + "' && MORVANE='" MORVANE_TOOL "' bash -c '" +
                                 command + "' 2>'" + err + "'";
        const int status = std::system(line.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 128, ReadFile(err)};
    }
    void Make(const std::string &name, const std::string &ffmpegArgs) const {
        ASSERT_EQ(Shell("ffmpeg -loglevel error -y " + ffmpegArgs + " " + name).Status, 0) << name;
    }
    std::string Path(const std::string &name) const { return Dir.Path() + name; }
    TempDir Dir;
};

const char *const kFlat = "-f lavfi -i color=c=0x5a8fc4:size=96x64 -frames:v 3";

// Every sample of every plane the same within `tolerance`.
void ExpectFlat(const std::vector<uint16_t> &plane, int tolerance, const std::string &what) {
    ASSERT_FALSE(plane.empty()) << what;
    const auto [low, high] = std::minmax_element(plane.begin(), plane.end());
    EXPECT_LE(*high - *low, tolerance) << what;
}

}  // namespace

TEST_F(ToolProcess, PicturesKeepTheirLayoutAndAFlatColour) {
    const struct {
        const char *pixFmt;
        int channels, depth;
    } cases[] = {
        {"rgb24", 3, 8}, {"rgb48be", 3, 16}, {"gray", 1, 8}, {"gray16be", 1, 16}, {"pal8", 3, 8}};
    for (const auto &c : cases) {
        const std::string in = std::string(c.pixFmt) + ".png";
        Make(in, std::string(kFlat) + " -frames:v 1 -pix_fmt " + c.pixFmt);
        for (const char *size : {"40x", "x100", "96x64"}) {
            const std::string out = std::string(c.pixFmt) + "-" + size + ".png";
            const TRun run =
                Shell("$MORVANE -q -f Spline36 -s " + std::string(size) + " " + in + " " + out);
            ASSERT_EQ(run.Status, 0) << run.Err;
            std::ostringstream warnings;
            const TPicture got = ReadPng(Path(out), warnings);
            EXPECT_EQ(got.Channels, c.channels) << out;
            EXPECT_EQ(got.Depth, c.depth) << out;
            const TPicture source = ReadPng(Path(in), warnings);
            const int code = 1 << (c.depth - 8);  // one 8-bit code
            // ffmpeg dithers a flat colour into a palette; the layout is what counts there.
            const std::vector<uint16_t> gotSamples = got.Samples(),
                                        sourceSamples = source.Samples();
            for (std::size_t i = 0; c.pixFmt != std::string("pal8") && i < gotSamples.size(); ++i)
                if (std::abs(gotSamples[i] - sourceSamples[i % c.channels]) > code) {
                    ADD_FAILURE() << out << " sample " << i << ": " << gotSamples[i];
                    break;
                }
        }
    }
    const TRun alpha = Shell("ffmpeg -loglevel error " + std::string(kFlat) +
                             " -frames:v 1 -pix_fmt rgba a.png && $MORVANE -q -s 20x a.png b.png");
    EXPECT_EQ(alpha.Status, 0);
    EXPECT_EQ(alpha.Err, "morvane: a.png: warning: the alpha channel is dropped\n");
}

// Rows are read one at a time, or whole for an interlaced file's passes;
// ffmpeg's own decoding is the reference.
TEST_F(ToolProcess, PngRowsEqualFfmpegsPlainOrInterlaced) {
    Make("plain.png", "-f lavfi -i testsrc=size=64x48 -frames:v 1 -pix_fmt rgb24");
    const TRun made = Shell(
        "convert plain.png -interlace PNG inter.png && "
        "ffmpeg -loglevel error -i plain.png -pix_fmt rgb24 ref.ppm");
    ASSERT_EQ(made.Status, 0) << made.Err;
    ASSERT_EQ(ReadFile(Path("inter.png")).at(28), 1) << "the IHDR's interlace method";
    const TPicture reference = ReadPpm(Path("ref.ppm"));
    std::ostringstream warnings;
    for (const char *name : {"plain.png", "inter.png"})
        EXPECT_EQ(ReadPng(Path(name), warnings).Samples(), reference.Samples()) << name;
}

TEST_F(ToolProcess, VideoKeepsItsChromaDepthAndTagsAndAFlatColour) {
    const struct {
        const char *pixFmt, *tag;
        int depth;
    } cases[] = {{"yuv420p", "C420jpeg", 8},     {"yuv422p", "C422", 8},
                 {"yuv444p", "C444", 8},         {"gray", "Cmono", 8},
                 {"yuv420p10le", "C420p10", 10}, {"yuv444p16le", "C444p16", 16}};
    for (const auto &c : cases) {
        const std::string in = std::string(c.pixFmt) + ".y4m";
        Make(in, std::string(kFlat) + " -strict -1 -pix_fmt " + c.pixFmt);
        const std::string out = std::string(c.pixFmt) + "-out.y4m";
        const TRun run = Shell("$MORVANE -q -f Lanczos -s 50x --even " + in + " " + out);
        ASSERT_EQ(run.Status, 0) << c.pixFmt << ": " << run.Err;
        std::FILE *file = std::fopen(Path(out).c_str(), "rb");
        ASSERT_NE(file, nullptr);
        TY4mReader reader(file, out);
        EXPECT_EQ(reader.Format().ChromaTag, c.tag);
        EXPECT_EQ(reader.Format().Depth, c.depth);
        EXPECT_EQ(reader.Format().Width, 50);
        EXPECT_EQ(reader.Format().Height, 34);  // 50 × 64/96 = 33.3, to even
        std::FILE *source = std::fopen(Path(in).c_str(), "rb");
        TY4mFormat expected = TY4mReader(source, in).Format();
        std::fclose(source);
        expected.Width = 50;
        expected.Height = 34;
        EXPECT_EQ(reader.Format().Header(), expected.Header());
        TY4mFrame frame;
        int frames = 0;
        while (reader.ReadFrame(frame)) {
            ++frames;
            for (int p = 0; p < reader.Format().Planes(); ++p)
                ExpectFlat(frame.Plane(reader.Format(), p), 1 << (c.depth - 8), out);
        }
        EXPECT_EQ(frames, 3) << out;
        std::fclose(file);
    }
}

// The tool's own peak memory (kB) for a stream of `frames` frames of
// 320x240 4:2:0 fed through a pipe; -1 when it fails.
long PeakKilobytes(const std::string &output, int frames) {
    int feed[2];
    if (pipe(feed) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(feed[0], 0);
        close(feed[0]);
        close(feed[1]);
        execl(MORVANE_TOOL, MORVANE_TOOL, "-q", "-s", "160x120", "-", output.c_str(),
              static_cast<char *>(nullptr));
        _exit(127);
    }
    close(feed[0]);
    std::string frame = "FRAME\n" + std::string(320 * 240 * 3 / 2, '\0');
    const std::string header = "YUV4MPEG2 W320 H240 C420jpeg\n";
    bool written = write(feed[1], header.data(), header.size()) == ssize_t(header.size());
    for (int i = 0; i < frames && written; ++i) {
        for (std::size_t at = 6; at < frame.size(); ++at)
            frame[at] = char((at * 7 + i * 13) & 0xff);
        written = write(feed[1], frame.data(), frame.size()) == ssize_t(frame.size());
    }
    close(feed[1]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !written || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

TEST_F(ToolProcess, ALongStreamThroughAPipeKeepsItsMemoryFlat) {
    const long brief = PeakKilobytes(Path("brief.y4m"), 30),
               lasting = PeakKilobytes(Path("long.y4m"), 300);
    ASSERT_GT(brief, 0);
    ASSERT_GT(lasting, 0);
    EXPECT_EQ(fs::file_size(Path("long.y4m")), 29 + 300 * (6 + 160 * 120 * 3 / 2));
    // 270 frames more are 31 MB of stream; the peak must not follow them.
    EXPECT_LT(lasting - brief, 4096) << brief << " kB for 30 frames, " << lasting << " kB for 300";
}

TEST_F(ToolProcess, EqualSizePassesThroughUnchanged) {
    Make("in.y4m", "-f lavfi -i testsrc=size=64x48 -frames:v 2 -pix_fmt yuv444p");
    const TRun video = Shell("$MORVANE -s 64x48 in.y4m out.y4m >report.txt");
    ASSERT_EQ(video.Status, 0) << video.Err;
    EXPECT_TRUE(ReadFile(Path("out.y4m")) == ReadFile(Path("in.y4m")));
    EXPECT_NE(ReadFile(Path("report.txt")).find("the filter passed the frame through unchanged"),
              std::string::npos);
    Make("in.png", "-f lavfi -i testsrc=size=64x48 -frames:v 1 -pix_fmt rgb24");
    ASSERT_EQ(Shell("$MORVANE -q -s 64x48 in.png out.png").Status, 0);
    std::ostringstream warnings;
    const TPicture in = ReadPng(Path("in.png"), warnings), out = ReadPng(Path("out.png"), warnings);
    const std::vector<uint16_t> inSamples = in.Samples(), outSamples = out.Samples();
    ASSERT_EQ(inSamples.size(), outSamples.size());
    for (std::size_t i = 0; i < inSamples.size(); ++i)
        ASSERT_LE(std::abs(inSamples[i] - outSamples[i]), 1) << i;
}

TEST_F(ToolProcess, PipesWithFfmpegBothWays) {
    const TRun run = Shell(
        "set -o pipefail; ffmpeg -loglevel error -f lavfi -i testsrc=size=160x120:rate=25 -frames:v 7 "
        "-pix_fmt yuv420p -f yuv4mpegpipe - | $MORVANE -s 80x60 - - | "
        "ffmpeg -loglevel error -f yuv4mpegpipe -i - -f rawvideo - | wc -c > bytes.txt");
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(std::stoi(ReadFile(Path("bytes.txt"))), 7 * 80 * 60 * 3 / 2);
    EXPECT_NE(run.Err.find("- 160x120 -> - 80x60, 7 frames"), std::string::npos) << run.Err;
}

TEST_F(ToolProcess, BadInputsNameTheFileAndFaultAndWriteNothing) {
    Make("good.png", "-f lavfi -i testsrc=size=64x48 -frames:v 1");
    Make("good.y4m", "-f lavfi -i testsrc=size=64x48 -frames:v 3 -pix_fmt yuv420p");
    Make("tall.ppm", "-f lavfi -i testsrc=size=64x600 -frames:v 1");
    const std::string frame = "FRAME\n" + std::string(64 * 48 * 3 / 2, 'x');
    Dir.Write("huge.ppm", "P6\n8192 8192\n255\n" + std::string(100, 'x'));
    Dir.Write("toolarge.ppm", "P6 32768 32768 255\n" + std::string(100, 'x'));
    Dir.Write("badhead.y4m", "YUV4MPEG3 W64 H48\n" + frame);
    Dir.Write("badtag.y4m", "YUV4MPEG2 W64 H48 C411\n" + frame);
    Dir.Write("nosize.y4m", "YUV4MPEG2 W64\n" + frame);
    Dir.Write("tiny.y4m", "YUV4MPEG2 W8192 H8192\nFRAME\n" + std::string(100, 'x'));
    Dir.Write("wide.y4m", "YUV4MPEG2 W8193 H2\n" + frame);
    const struct {
        const char *setup, *args, *fault;
        int status;
    } cases[] = {
        {"", "huge.ppm out.png", "huge.ppm: truncated: 100 of 201326592 sample bytes", 1},
        // Through a pipe, whose length shows only as its rows arrive, to
        // workers that wait for their bands.
        {"ln -s /dev/stdin piped.ppm && exec < <(cat huge.ppm)", "piped.ppm out.png",
         "piped.ppm: truncated: 100 of 201326592 sample bytes", 1},
        {"ln -s /dev/stdin cut.ppm && exec < <(head -c 30014 tall.ppm)",
         "-s 32x24 -t 4 cut.ppm out.png", "cut.ppm: truncated: 30000 of 115200 sample bytes", 1},
        {"", "toolarge.ppm out.png", "toolarge.ppm: image size 32768x32768 is not supported", 1},
        {"ln -s /dev/zero zero.ppm", "zero.ppm out.png", "zero.ppm: not a binary PPM file (P6)", 1},
        {"head -c 300 good.png > cut.png", "cut.png out.png", "cut.png: damaged or truncated PNG",
         1},
        {"cp good.png bad.png && printf XXXXXXXX | dd of=bad.png bs=1 seek=60 conv=notrunc 2>/dev/null",
         "bad.png out.png", "bad.png: damaged", 1},
        {"", "badhead.y4m out.y4m", "badhead.y4m: not a YUV4MPEG2 stream", 1},
        {"", "badtag.y4m out.y4m", "badtag.y4m: unsupported YUV4MPEG2 colour format \"C411\"", 1},
        {"", "nosize.y4m out.y4m", "nosize.y4m: bad YUV4MPEG2 header: no size", 1},
        {"", "tiny.y4m out.y4m", "tiny.y4m: truncated frame 1: 100 of 100663296 bytes\n", 1},
        {"", "wide.y4m out.y4m",
         "wide.y4m: the frame size 8193x2 is beyond the largest frame 8192x8192\n", 1},
        {"", "missing.png out.png", "missing.png: no such file", 1},
        // Written in place band by band, so the fault reaches a worker.
        {"", "-s 2000x1500 -t 4 good.png /dev/full",
         "/dev/full: write failed (No space left on device)", 1},
        {"", "good.png out.gif", "out.gif: unknown kind of file", 1},
        {"", "good.png out.y4m", "out.y4m: a picture goes to .png, .jpg or .ppm", 1},
        {"", "-s 0x5 good.png out.png", "--size: expected a size such as 1280x720", 2},
        {"", "-s 9000x good.png out.png", "--size: expected a size such as 1280x720", 2},
        {"", "-s 20x20 --fit 10x10 good.png out.png", "excludes", 2},
        {"", "-s 20x20 -f Nosuch good.png out.png", "no window function \"Nosuch\"", 1},
        {"", "-s x8000 -t 1 good.png out.png",
         "good.png: the target size 10667x8000 is beyond the largest frame", 1},
    };
    for (const auto &c : cases) {
        const std::string args =
            std::string(c.args).rfind("-", 0) == 0 ? c.args : std::string("-s 32x24 ") + c.args;
        const TRun run =
            Shell(std::string(c.setup) + (*c.setup ? " && " : "") + "$MORVANE " + args);
        EXPECT_EQ(run.Status, c.status) << c.args << ": " << run.Err;
        EXPECT_NE(run.Err.find(c.fault), std::string::npos)
            << c.args << ": " << run.Err.substr(0, 300);
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        for (const char *out : {"out.png", "out.y4m", "out.gif"})
            EXPECT_FALSE(fs::exists(Path(out))) << c.args;
    }
    for (const auto &entry : fs::directory_iterator(Dir.Path()))
        EXPECT_EQ(entry.path().filename().string().rfind(".morvane-", 0), std::string::npos)
            << entry.path();
}

TEST_F(ToolProcess, ATruncatedStreamKeepsTheFramesBeforeIt) {
    Make("good.y4m", "-f lavfi -i testsrc=size=64x48 -frames:v 3 -pix_fmt yuv420p");
    const TRun run =
        Shell("head -c -100 good.y4m > cut.y4m && $MORVANE -q -s 32x24 cut.y4m out.y4m");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(
        run.Err,
        "morvane: cut.y4m: truncated frame 3: 4508 of 4608 bytes (the frames before it are written)\n");
    const std::string in = ReadFile(Path("good.y4m"));
    const std::size_t header = in.find('\n') + 1;  // the same length at W32 H24 as at W64 H48
    EXPECT_EQ(ReadFile(Path("out.y4m")).size(), header + 2 * (6 + 32 * 24 * 3 / 2));
}

TEST_F(ToolProcess, WritesFifosDevicesAndLinkTargetsInPlace) {
    Make("in.png", "-f lavfi -i testsrc=size=64x48 -frames:v 1");
    const std::string longName(250, 'n');
    const TRun run = Shell(
        "set -e; mkfifo fifo.ppm; cat fifo.ppm > fromfifo.bin & $MORVANE -q -s 16x12 in.png fifo.ppm; wait; "
        "touch target.png; ln -s target.png link.png; $MORVANE -q -s 16x12 in.png link.png; "
        "test -L link.png; test -s target.png; "
        "$MORVANE -q -s 16x12 in.png " +
        longName + ".png; test -s " + longName +
        ".png; "
        "ffmpeg -loglevel error -f lavfi -i testsrc=size=64x48 -frames:v 2 -pix_fmt yuv420p v.y4m; "
        "$MORVANE -q -s 16x12 v.y4m /dev/stdout > stdout.y4m; test -s stdout.y4m; test -p fifo.ppm");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadFile(Path("fromfifo.bin")).size(),
              std::string("P6\n16 12\n255\n").size() + 16 * 12 * 3);
}

TEST_F(ToolProcess, ABatchWritesTheGoodFilesAndNamesTheBadOne) {
    Make("a.png", "-f lavfi -i testsrc=size=64x48 -frames:v 1");
    Make("c.ppm", "-f lavfi -i testsrc=size=64x48 -frames:v 1");
    Dir.Write("b.png", "not a picture");
    const TRun run = Shell("mkdir out && $MORVANE -q -s 32x a.png b.png c.ppm -o out");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(
        run.Err,
        "morvane: b.png: not a PNG file\nmorvane: 1 of 3 inputs failed; the others are written\n");
    EXPECT_TRUE(fs::exists(Path("out/a.png")));
    EXPECT_TRUE(fs::exists(Path("out/c.ppm")));
    EXPECT_FALSE(fs::exists(Path("out/b.png")));
}

TEST_F(ToolProcess, ADamagedOrForeignPluginLibraryIsNamed) {
    const fs::path dist = fs::path(MORVANE_TOOL).parent_path();
    const struct {
        const char *spoil, *fault;
    } cases[] = {
        {"truncate -s 9000 install/DLL/WindowFuncs.dll",
         "install/DLL/WindowFuncs.dll: truncated library"},
        // e_machine made ARM64's, as a library built for another processor has it.
        {"printf \"\\267\\000\" | dd of=install/DLL/Tessolk.dll bs=1 seek=18 conv=notrunc 2>/dev/null",
         "install/DLL/Tessolk.dll: a library for another processor (ARM64"},
    };
    for (const auto &c : cases) {
        fs::remove_all(Path("install"));
        fs::copy(dist, Path("install"), fs::copy_options::recursive);
        const TRun run =
            Shell(std::string(c.spoil) + " && install/morvane -s 16x12 builtin out.png");
        EXPECT_EQ(run.Status, 1);
        EXPECT_NE(run.Err.find(c.fault), std::string::npos) << run.Err;
        EXPECT_FALSE(fs::exists(Path("out.png")));
    }
}

namespace {

// A PNG from raw filtered scanlines, so that a header may claim any size.
std::string MakePng(uint32_t width, uint32_t height, int depth, int colour, bool interlaced,
                    const std::string &raw) {
    const auto u32 = [](uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    const auto chunk = [&](const std::string &type, const std::string &data) {
        const std::string body = type + data;
        return u32(uint32_t(data.size())) + body +
               u32(uint32_t(
                   crc32(0, reinterpret_cast<const Bytef *>(body.data()), uInt(body.size()))));
    };
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef *>(packed.data()), &packedSize,
              reinterpret_cast<const Bytef *>(raw.data()), uLong(raw.size()), 9);
    packed.resize(packedSize);
    const std::string ihdr =
        u32(width) + u32(height) + char(depth) + char(colour) + '\0' + '\0' + char(interlaced);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", packed) +
           chunk("IEND", "");
}

bool IsRoot() { return geteuid() == 0; }

}  // namespace

// An output that is an input, by any name, or two outputs of a batch that
// are one file: refused before anything is written.
TEST_F(ToolProcess, AnOutputThatIsAnInputOrAnotherOutputIsRefused) {
    Make("v.y4m", "-f lavfi -i testsrc=size=64x48 -frames:v 10 -pix_fmt yuv420p");
    Make("p.png", "-f lavfi -i testsrc=size=64x48 -frames:v 1");
    const fs::path shm = fs::path("/dev/shm") / ("morvane-" + std::to_string(getpid()));
    fs::create_directories(shm);
    const std::string inShm = (shm / "x.y4m").string();
    const struct {
        std::string setup, args, fault, kept;  // `kept` must still equal its source
    } cases[] = {
        {"cp v.y4m x.y4m", "x.y4m x.y4m", "x.y4m: the output is the input file x.y4m", "x.y4m"},
        {"cp v.y4m " + inShm, inShm + " " + inShm, inShm + ": the output is the input file", inShm},
        {"cp v.y4m x.y4m && ln -sf x.y4m l.y4m", "x.y4m l.y4m",
         "l.y4m: the output is the input file x.y4m", "x.y4m"},
        {"cp v.y4m x.y4m && ln -f x.y4m h.y4m", "x.y4m h.y4m",
         "h.y4m: the output is the input file x.y4m", "x.y4m"},
        {"cp p.png x.png", "x.png ./x.png", "./x.png: the output is the input file x.png", "x.png"},
        {"mkdir -p a b dest && cp p.png a/x.png && cp p.png b/x.png", "a/x.png b/x.png -o dest",
         "dest/x.png: the output of both a/x.png and b/x.png", "a/x.png"},
        {"mkdir -p d && cp p.png d/x.png", "p.png d/x.png -o d",
         "d/x.png: the output is the input file d/x.png", "d/x.png"},
    };
    for (const auto &c : cases) {
        const TRun run = Shell(c.setup + " && $MORVANE -q -s 32x24 " + c.args);
        EXPECT_EQ(run.Status, 1) << c.args << ": " << run.Err;
        EXPECT_NE(run.Err.find(c.fault), std::string::npos) << c.args << ": " << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        const std::string source = c.kept.find(".y4m") != std::string::npos ? "v.y4m" : "p.png";
        EXPECT_TRUE(ReadFile(c.kept[0] == '/' ? c.kept : Path(c.kept)) == ReadFile(Path(source)))
            << c.args;
        EXPECT_FALSE(fs::exists(Path("dest/x.png"))) << c.args;
    }
    EXPECT_EQ(fs::remove_all(shm), 2u);  // the folder and x.y4m, nothing left beside it
}

// What an output name is decides how it is written or why it is refused.
// Permissions are tried as an ordinary user, who cannot write through them.
TEST_F(ToolProcess, OutputsAreWrittenOrRefusedByWhatTheyAre) {
    Make("p.png", "-f lavfi -i testsrc=size=64x48 -frames:v 1");
    fs::permissions(Dir.Path(), fs::perms::all);
    const std::string deep = "top=$PWD; for i in $(seq 24); do $USER_ mkdir " +
                             std::string(200, 'd') + " && cd " + std::string(200, 'd') +
                             " || exit 9; done; cp \"$top/p.png\" .";
    const struct {
        std::string setup, args;
        int status;
        std::string fault, check;  // `check`: a command that must succeed after the run
    } cases[] = {
        {"$USER_ cp p.png ro.png && chmod 444 ro.png", "p.png ro.png", 1, "ro.png: write-protected",
         "cmp p.png ro.png"},
        {"ln -s made.png dangling.png", "p.png dangling.png", 0, "",
         "test -L dangling.png && test -s made.png"},
        {"ln -s nosub/deeper.png rel.png", "p.png rel.png", 1, "rel.png: no such folder",
         "test -L rel.png"},
        {"ln -s loop1.png loop2.png && ln -s loop2.png loop1.png", "p.png loop1.png", 1,
         "loop1.png: symbolic link loop", "test -L loop1.png"},
        {"ln -s in1.png in2.png && ln -s in2.png in1.png", "in1.png out.png", 1,
         "in1.png: symbolic link loop", "! test -e out.png"},
        {"mkdir dir.png", "p.png dir.png", 1, "dir.png: is a folder", "test -d dir.png"},
        {"ln -s dir.png dirlink.png", "p.png dirlink.png", 1, "dirlink.png: is a folder",
         "test -d dir.png"},
        {"true", "p.png nowhere/out.png", 1, "nowhere/out.png: no such folder", "true"},
        {"mkdir -p ro && chmod 555 ro", "p.png ro/out.png", 1, "ro/out.png: cannot be created",
         "! test -e ro/out.png"},
        {deep, "p.png out.png", 0, "", "true"},
    };
    for (const auto &c : cases) {
        const std::string user =
            IsRoot() ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
        const std::string setup = std::regex_replace(c.setup, std::regex("\\$USER_ "), user);
        const TRun run = Shell(setup + " || exit 9; " + user + "$MORVANE -q -s 32x24 " + c.args);
        EXPECT_EQ(run.Status, c.status) << c.args << ": " << run.Err;
        if (c.status) {
            EXPECT_NE(run.Err.find(c.fault), std::string::npos) << c.args << ": " << run.Err;
            EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        }
        EXPECT_EQ(Shell(c.check).Status, 0) << c.args << ": " << c.check;
    }
}

namespace {

// A shell loop that waits up to 10 s for `condition`, then fails the script
// with `fault` on standard error, ending the jobs it started.
std::string WaitFor(const std::string &condition, const std::string &fault) {
    return "n=0; until " + condition + "; do n=$((n+1)); if [ $n -gt 200 ]; then echo \"" + fault +
           "\" >&2; kill -9 $(jobs -p) 2>/dev/null; exit 8; fi; sleep 0.05; done; ";
}

}  // namespace

// Every signal that ends the process by default removes the temporary file
// and ends it as the signal would; a reader that stops early ends the run
// with one line.
TEST_F(ToolProcess, SignalsRemoveTheTemporaryFileAndAClosedPipeIsOneLine) {
    Make("one.y4m", "-f lavfi -i testsrc=size=64x48 -frames:v 1 -pix_fmt yuv420p");
    for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGALRM, SIGPIPE}) {
        // Job control, so that the background run does not start with SIGINT and SIGQUIT ignored.
        const TRun run = Shell(
            "set -m; rm -f feed out.y4m; mkfifo feed; $MORVANE -q -s 32x24 - out.y4m < feed & pid=$!; exec 3>feed; "
            "cat one.y4m >&3; " +
            WaitFor("ls -a | grep -q \"^.morvane-\"", "no temporary file") + "kill -" +
            std::to_string(signal) +
            " $pid; wait $pid; echo $? > status.txt; exec 3>&-; "
            "ls -a | grep -c morvane- > left.txt; true");
        EXPECT_EQ(run.Status, 0) << signal << ": " << run.Err;
        EXPECT_EQ(ReadFile(Path("status.txt")), std::to_string(128 + signal) + "\n") << signal;
        EXPECT_EQ(ReadFile(Path("left.txt")), "0\n") << signal;
        EXPECT_FALSE(fs::exists(Path("out.y4m"))) << signal;
    }
    Make("long.y4m", "-f lavfi -i testsrc=size=64x48 -frames:v 40 -pix_fmt yuv420p");
    // Frames larger than the pipe's buffer, so that the reader's close always
    // finds the tool still writing.
    const TRun pipe = Shell(
        "$MORVANE -q -s 640x480 long.y4m - | head -c 100 > /dev/null; echo ${PIPESTATUS[0]} > status.txt");
    EXPECT_EQ(ReadFile(Path("status.txt")), "1\n");
    EXPECT_EQ(pipe.Err, "morvane: standard output: the reader closed the pipe\n");
}

// The settings file is written where a link leads; overlapping runs, one of
// them waiting on a third that holds the lock, each keep what they changed;
// a value that cannot be kept is named.
TEST_F(ToolProcess, TheSettingsFileKeepsEveryRunsRememberedValue) {
    fs::copy(fs::path(MORVANE_TOOL).parent_path(), Path("inst"), fs::copy_options::recursive);
    const std::string run = "inst/morvane -q --pattern 320x180 --frames 30 -s 160x90 builtin ";
    const TRun linked = Shell(
        "mkdir real && printf \"[Morvane]\\r\\nSizeList=512x384\\r\\n\" > real/s.ini && "
        "ln -sf ../real/s.ini inst/Morvane.ini && " +
        run + "-f Lanczos --param 5 a.png");
    ASSERT_EQ(linked.Status, 0) << linked.Err;
    EXPECT_TRUE(fs::is_symlink(Path("inst/Morvane.ini")));
    EXPECT_NE(ReadFile(Path("real/s.ini")).find("Func_Lanczos=1,5,0"), std::string::npos)
        << ReadFile(Path("real/s.ini"));

    // The third holds the lock until both runs wait for it, each with the
    // folder open; it lets go when the script ends, however it ends.
    const std::string waiting = "ls -l /proc/$a/fd /proc/$b/fd | grep -c \"/real$\"";
    const TRun overlapping = Shell(
        "trap \"touch release\" EXIT; flock real sh -c \"touch locked; until [ -e release ]; "
        "do sleep 0.05; done\" & " +
        WaitFor("[ -e locked ]", "the lock was not taken") + run +
        "-f Lanczos --param 7 b.png & a=$!; " + run + "-f Bicubic --param 9 c.png & b=$!; " +
        WaitFor("[ $(" + waiting + ") = 2 ]", "the runs did not wait on the lock") +
        "cp real/s.ini held.ini; touch release; wait $a || exit 3; wait $b || exit 4");
    ASSERT_EQ(overlapping.Status, 0) << overlapping.Err;
    EXPECT_EQ(ReadFile(Path("held.ini")).find("Func_Lanczos=1,7,0"), std::string::npos)
        << "written under the lock";
    const std::string after = ReadFile(Path("real/s.ini"));
    EXPECT_NE(after.find("Func_Lanczos=1,7,0"), std::string::npos) << after;
    EXPECT_NE(after.find("Func_Bicubic=1,9,0"), std::string::npos) << after;

    const std::string user = IsRoot() ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    fs::permissions(Dir.Path(), fs::perms::all);
    const TRun readOnly = Shell("chmod 555 real && " + user + run + "-f Bicubic --param 3 d.png");
    EXPECT_EQ(readOnly.Status, 0);
    EXPECT_NE(readOnly.Err.find("warning: --param 3 for Bicubic is not remembered"),
              std::string::npos)
        << readOnly.Err;
    EXPECT_EQ(std::count(readOnly.Err.begin(), readOnly.Err.end(), '\n'), 1) << readOnly.Err;
}

// On a terminal the progress line says how far, where the total is known:
// a regular file's frames, a batch's inputs; a pipe's frames are counted.
TEST_F(ToolProcess, ProgressOnATerminalSaysHowFarWhereTheTotalIsKnown) {
    Make("five.y4m", "-f lavfi -i testsrc=size=64x48 -frames:v 5 -pix_fmt yuv420p");
    Make("a.png", "-f lavfi -i testsrc=size=64x48 -frames:v 1");
    const struct {
        const char *command, *shown, *notShown;
    } cases[] = {
        {"$MORVANE -s 32x24 five.y4m out.y4m", "morvane: 4/5 frames (80.0%), ", "6/5"},
        {"cat five.y4m | $MORVANE -s 32x24 - out.y4m", "morvane: 5 frames, ", " left"},
        {"mkdir -p o && $MORVANE -s 32x24 a.png five.y4m -o o", "morvane: 2/2 inputs (100.0%), ",
         "frames ("},
    };
    for (const auto &c : cases) {
        const TRun run =
            Shell(std::string("script -qec \"") + c.command + "\" /dev/null > tty.txt");
        ASSERT_EQ(run.Status, 0) << c.command << ": " << run.Err;
        const std::string tty = ReadFile(Path("tty.txt"));
        EXPECT_NE(tty.find(c.shown), std::string::npos) << c.command << ": " << tty;
        if (std::string(c.notShown) != " left") {
            EXPECT_NE(tty.find(" s left"), std::string::npos) << c.command << ": " << tty;
        }
        EXPECT_EQ(tty.find(c.notShown), std::string::npos) << c.command << ": " << tty;
    }
}

// In a batch, an input that fails any check is that input's failure.
TEST_F(ToolProcess, ABatchInputBeyondTheLimitsFailsAlone) {
    Make("a.png", "-f lavfi -i testsrc=size=64x48 -frames:v 1");
    Make("big.png", "-f lavfi -i testsrc=size=96x64 -frames:v 1");
    Make("c.png", "-f lavfi -i testsrc=size=64x48 -frames:v 1");
    const TRun run =
        Shell("mkdir out && $MORVANE -q -s 32x --max 64x48 a.png big.png c.png -o out");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err.substr(0, run.Err.find('\n') + 1).find("morvane: big.png: --max:"), 0u)
        << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 2) << run.Err;
    EXPECT_TRUE(fs::exists(Path("out/a.png")));
    EXPECT_TRUE(fs::exists(Path("out/c.png")));
    EXPECT_FALSE(fs::exists(Path("out/big.png")));
}

// Memory follows the data present: a small interlaced file claiming a huge
// picture is refused without taking what the claim would need, and memory
// that runs out is reported with the file. The peak is the tool process's
// own, from the kernel's account of it.
TEST_F(ToolProcess, PngMemoryFollowsTheDataAndTheReasonIsNamed) {
    Dir.Write("bomb.png", MakePng(8192, 8192, 16, 2, true, std::string(2000, '\0')));
    Dir.Write("tall.png", MakePng(1, 65535, 8, 0, false, std::string(2 * 65535, '\0')));
    // The child's peak includes what this process held when it forked (the
    // kernel carries it into the child's account until exec): only without
    // the sanitizers, whose quarantine keeps it large, is the peak the
    // tool's. The sanitizers also reserve more address space than any limit.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    const bool limitable = false;
#else
    const bool limitable = true;
#endif
    const struct {
        const char *input, *fault;
        long peakKb;
        rlim_t addressSpace;  // 0: no limit
    } cases[] = {
        {"bomb.png", "bomb.png: damaged or truncated PNG", 120 * 1024, 0},
        {"tall.png", "tall.png: the picture's size 1x65535 is beyond the largest frame 8192x8192",
         120 * 1024, 0},
        {"builtin", "morvane: builtin: out of memory\n", 320 * 1024, limitable ? 300u << 20 : 0},
    };
    for (const auto &c : cases) {
        if (c.addressSpace == 0 && std::string(c.input) == "builtin") continue;
        const std::string err = Path("err.txt");
        const pid_t child = fork();
        if (child == 0) {
            const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 2);
            if (chdir(Dir.Path().c_str()) != 0) _exit(99);
            const rlimit limit{c.addressSpace, c.addressSpace};
            if (c.addressSpace && setrlimit(RLIMIT_AS, &limit) != 0) _exit(97);
            // builtin at this size needs more than the limit allows.
            const char *size = c.addressSpace ? "8000x8000" : "32x24";
            execl(MORVANE_TOOL, MORVANE_TOOL, "-q", "-s", size, c.input, "out.png", nullptr);
            _exit(98);
        }
        int status = 0;
        rusage usage{};
        ASSERT_EQ(wait4(child, &status, 0, &usage), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << c.input;
        EXPECT_NE(ReadFile(err).find(c.fault), std::string::npos) << ReadFile(err);
        if (limitable) {
            EXPECT_LT(usage.ru_maxrss, c.peakKb) << c.input << ": peak in KiB";
        }
    }
}
#endif
