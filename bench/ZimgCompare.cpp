// Morvane against zimg on the same job and machine: 4:4:4 YCbCr, BT.601,
// gamma 2.2 -> linear RGB float -> resize -> back. Morvane runs as the
// editor drives it (Morvane.auf in ../dist through the stand-in host: the
// 76-byte block, func_proc, the host's worker threads); zimg runs on one
// thread with its gamma tables, once with its own choice of instruction set
// and once held to SSE2. Prints the same table twice, by wall clock and by
// processor time (which others' builds on this machine barely disturb);
// arguments are ignored (the bench script hands every program the same ones).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchRun.h"
#include "bench/ZimgJob.h"
#include "standin/CpuClock.h"
#include "standin/HostError.h"
#include "cli/Picture.h"
#include "cli/PluginInventory.h"
#include "cli/ResizeJob.h"
#include "cli/TestPattern.h"
#include "platform/Library.h"
#include "platform/Paths.h"
#include "platform/SizeText.h"

namespace {

constexpr int kWarmUp = 3;     // the first frame also builds the tables
constexpr int kMeasured = 12;  // frames a round
// Rounds pass over every case in turn, so that a slower spell of the
// machine falls on both sides of a row rather than on one; ZIMG_ROUNDS sets
// how many.
int Rounds() {
    const char *text = std::getenv("ZIMG_ROUNDS");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 5;
}

struct TSize {
    int Width, Height;
};
struct TScenario {
    TSize Src, Dst;
};
const TScenario kScenarios[] = {
    {{1920, 1080}, {1280, 720}}, {{1280, 720}, {1920, 1080}}, {{3840, 2160}, {1920, 1080}}};

// Our window function, its parameter (0: none) and zimg's filter for it.
struct TFunction {
    const char *Name;
    int Param;
    TZimgFilter Zimg;
};
const TFunction kFunctions[] = {{"Spline16", 0, TZimgFilter::Spline16},
                                {"Spline36", 0, TZimgFilter::Spline36},
                                {"Lanczos", 3, TZimgFilter::Lanczos3}};

// Each kernel against the zimg build that uses the same class of instructions.
struct TKernel {
    const char *Library, *Name;
    zimg_cpu_type_e ZimgCpu;
    const char *ZimgLabel;
};
const TKernel kKernels[] = {{"Tessolk", "SSE", ZIMG_CPU_X86_SSE2, "SSE2"},
                            {"Varnoth", "AVX", ZIMG_CPU_AUTO, "default"}};

constexpr double kTargetRatio = 1.3;     // zimg ms / Morvane ms, one thread each
constexpr double kTargetSpeedUp = 1.85;  // two threads against one

struct TTimes {
    double Min = 0, Median = 0;  // ms per frame
};

TTimes Summarise(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    const std::size_t n = seconds.size();
    const double median = n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2;
    return {seconds.front() * 1000, median * 1000};
}

// Frames by both clocks, warm-up dropped, gathered over the rounds.
struct TSamples {
    std::vector<double> Wall, Cpu;
    void Add(const TSamples &more) {
        Wall.insert(Wall.end(), more.Wall.begin(), more.Wall.end());
        Cpu.insert(Cpu.end(), more.Cpu.begin(), more.Cpu.end());
    }
};

struct TMeasured {
    TTimes Wall, Cpu;
    const TTimes &By(bool cpu) const { return cpu ? Cpu : Wall; }
};

TMeasured Measure(const TSamples &s) { return {Summarise(s.Wall), Summarise(s.Cpu)}; }

TSamples AfterWarmUp(std::vector<double> wall, std::vector<double> cpu) {
    wall.erase(wall.begin(), wall.begin() + kWarmUp);
    cpu.erase(cpu.begin(), cpu.begin() + kWarmUp);
    return {std::move(wall), std::move(cpu)};
}

std::string Label(const TScenario &s) {
    return FormatSize(s.Src.Width, s.Src.Height) + " -> " + FormatSize(s.Dst.Width, s.Dst.Height);
}

// Morvane's full range (y 0..4096, cb and cr -2048..2048) as zimg's 16-bit
// full range, whose chroma is centred on 32768.
uint16_t ToWord(int code, bool chroma) {
    const double v = std::round((chroma ? 32768.0 : 0.0) + code * (65535.0 / 4096.0));
    return uint16_t(std::clamp(v, 0.0, 65535.0));
}

void ToPlanes(const TYcImage &image, TPlanes &planes) {
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const PIXEL_YC &p = image.At(x, y);
            planes.Line16(0, y)[x] = ToWord(p.y, false);
            planes.Line16(1, y)[x] = ToWord(p.cb, true);
            planes.Line16(2, y)[x] = ToWord(p.cr, true);
        }
}

// Mean |Y difference| in Morvane's codes (0..4096): both sides did one job.
double MeanLumaDifference(const TYcImage &morvane, const TPlanes &zimg) {
    double sum = 0;
    for (int y = 0; y < morvane.Height; ++y)
        for (int x = 0; x < morvane.Width; ++x)
            sum += std::fabs(morvane.At(x, y).y - zimg.Line16(0, y)[x] * (4096.0 / 65535.0));
    return sum / (double(morvane.Width) * morvane.Height);
}

struct TMorvaneRun {
    TSamples Times;
    TYcImage Last;
};

TMorvaneRun RunMorvane(const std::string &filter, const TScenario &s, const TFunction &f,
                       const TKernel &k, int threads, const TYcImage &source) {
    TToolOptions o;
    o.Func = f.Name;
    o.HasParam = f.Param != 0;
    o.Param = f.Param;
    o.Kernel = k.Name;
    o.Threads = threads;
    o.Frames = kWarmUp + kMeasured;
    const TFramePlan plan{s.Dst.Width, s.Dst.Height, std::max(s.Src.Width, s.Dst.Width),
                          std::max(s.Src.Height, s.Dst.Height)};
    std::vector<double> wall, processor;
    TResizeOutcome out = RunResize(filter, o, plan, source, [&](const TFrameResult &frame) {
        wall.push_back(frame.Seconds);
        processor.push_back(frame.CpuSeconds);
    });
    if (f.Param && out.AppliedParam != f.Param)
        throw THostError(filter + ": " + f.Name + " ran with parameter " +
                         std::to_string(out.AppliedParam));
    return {AfterWarmUp(wall, processor), std::move(out.Image)};
}

struct TZimgRun {
    TSamples Times;
    std::string Chain;
};

TZimgRun RunZimg(const TScenario &s, const TFunction &f, zimg_cpu_type_e cpu, const TPlanes &src,
                 TPlanes &dst) {
    TZimgJob job({s.Src.Width, s.Src.Height, s.Dst.Width, s.Dst.Height, f.Zimg, cpu}, src);
    std::vector<double> wall, processor;
    for (int frame = 0; frame < kWarmUp + kMeasured; ++frame) {
        const double cpuStart = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        job.Run(src, dst);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        processor.push_back(ProcessCpuSeconds() - cpuStart);
        wall.push_back(took.count());
    }
    return {AfterWarmUp(wall, processor), job.Arrangement()};
}

std::string Cell(const TTimes &t) {
    char text[32];
    std::snprintf(text, sizeof text, "%6.2f /%6.2f", t.Min, t.Median);
    return text;
}

// One row: a kernel on one case, its threads, its zimg counterpart.
struct TRow {
    std::string Case, Func, Kernel;
    std::optional<TMeasured> One, All;
    std::string ZimgLabel;
    TMeasured Zimg;
    std::string Note;
    TSamples OneSamples, AllSamples, ZimgSamples;  // over the rounds
};

// By processor time, the speed column is what free cores would give:
// threads × one thread's time / all threads' time together.
void PrintRow(const TRow &r, int allThreads, bool cpu) {
    std::printf("%-24s %-9s %-8s", r.Case.c_str(), r.Func.c_str(), r.Kernel.c_str());
    if (!r.One) {
        std::printf(" %s\n", r.Note.c_str());
        return;
    }
    const TTimes &one = r.One->By(cpu), &zimg = r.Zimg.By(cpu);
    std::printf(" %s", Cell(one).c_str());
    std::string missed;
    if (allThreads > 1 && r.All) {
        const TTimes &all = r.All->By(cpu);
        const double speedUp = (cpu ? allThreads : 1) * one.Min / all.Min;
        std::printf("  %s  %5.2fx", Cell(all).c_str(), speedUp);
        if (allThreads == 2 && speedUp < kTargetSpeedUp) missed += " threads";
    }
    const double ratioMin = zimg.Min / one.Min, ratioMedian = zimg.Median / one.Median;
    std::printf("  %-7s %s  %5.2fx /%5.2fx", r.ZimgLabel.c_str(), Cell(zimg).c_str(), ratioMin,
                ratioMedian);
    if (ratioMin < kTargetRatio) missed += " zimg";
    std::printf("  %s\n", missed.empty() ? "met" : ("MISSED:" + missed).c_str());
}

void PrintTable(const std::vector<TRow> &rows, int allThreads, bool cpu) {
    std::printf("\n%s\n", cpu ? "By processor time of the process inside func_proc / zimg's calls "
                                "(all threads' together; speed = threads x one / all):"
                              : "By wall clock:");
    std::printf("%-24s %-9s %-8s %-14s", "case", "function", "kernel", "  1 thread");
    if (allThreads > 1)
        std::printf("  %-14s  %-6s", ("  " + std::to_string(allThreads) + " threads").c_str(),
                    "speed");
    std::printf("  %-7s %-14s  %-15s  %s\n", "zimg", "  zimg ms", "ratio", "targets");
    for (const TRow &r : rows) PrintRow(r, allThreads, cpu);
}

void PrintHeader() {
    unsigned major = 0, minor = 0, micro = 0;
    zimg_get_version_info(&major, &minor, &micro);
    std::printf(
        "Morvane through func_proc against zimg %u.%u.%u, ms per frame (min / median of %d "
        "rounds of %d frames after %d warm-up, the rounds interleaved over the cases)\n",
        major, minor, micro, Rounds(), kMeasured, kWarmUp);
    std::printf(
        "zimg: one thread, gamma tables on, \"default\" = its own choice of instructions\n");
    std::printf(
        "ratio = zimg / Morvane on one thread (from minima / medians), target >= %.2fx (minima); "
        "speed from minima, target >= %.2fx\n",
        kTargetRatio, kTargetSpeedUp);
}

TRow NewRow(const TScenario &s, const TFunction &f, const TKernel &k,
            const TPluginInventory &inventory) {
    TRow row;
    row.Case = Label(s);
    row.Func = f.Name;
    row.Kernel = k.Library;
    row.ZimgLabel = k.ZimgLabel;
    if (!inventory.HasKernel(k.Name))
        row.Note = "not in the plug-in folder (or the processor lacks its instructions)";
    return row;
}

void SummariseRow(TRow &r, int allThreads) {
    r.Zimg = Measure(r.ZimgSamples);
    if (!r.Note.empty()) return;
    r.One = Measure(r.OneSamples);
    if (allThreads > 1) r.All = Measure(r.AllSamples);
}

std::string SameJobNote(const TRow &r, const TFunction &f, const std::string &chain,
                        const TYcImage &morvane, const TPlanes &zimg) {
    char note[160];
    std::snprintf(note, sizeof note,
                  "%s %s %s: zimg chain \"%s\", mean |Y difference| %.2f of 4096", r.Case.c_str(),
                  f.Name, r.Kernel.c_str(), chain.c_str(), MeanLumaDifference(morvane, zimg));
    return note;
}

int Run() {
    const std::string filter = bench::FilterBesideBench();
    const TPluginInventory inventory = TakeInventory(filter);
    const int allThreads = int(std::max(1u, std::thread::hardware_concurrency()));

    const std::string loadAtStart = bench::Load();
    std::vector<TRow> rows;
    std::vector<std::string> notes;
    for (int round = 0; round < Rounds(); ++round) {
        std::size_t row = 0;
        for (const TScenario &s : kScenarios) {
            const TYcImage source =
                ToYcImage(MakeTestPattern(s.Src.Width, s.Src.Height));
            TPlanes srcPlanes(s.Src.Width, s.Src.Height, 2),
                dstPlanes(s.Dst.Width, s.Dst.Height, 2);
            ToPlanes(source, srcPlanes);
            for (const TFunction &f : kFunctions)
                for (const TKernel &k : kKernels) {
                    if (round == 0) rows.push_back(NewRow(s, f, k, inventory));
                    TRow &r = rows[row++];
                    const TZimgRun zimg = RunZimg(s, f, k.ZimgCpu, srcPlanes, dstPlanes);
                    r.ZimgSamples.Add(zimg.Times);
                    if (!r.Note.empty()) continue;
                    const TMorvaneRun one = RunMorvane(filter, s, f, k, 1, source);
                    r.OneSamples.Add(one.Times);
                    if (allThreads > 1)
                        r.AllSamples.Add(RunMorvane(filter, s, f, k, allThreads, source).Times);
                    if (round == 0)
                        notes.push_back(SameJobNote(r, f, zimg.Chain, one.Last, dstPlanes));
                    std::fprintf(stderr, ".");
                }
        }
    }
    for (TRow &r : rows) SummariseRow(r, allThreads);
    std::fprintf(stderr, "\n");
    PrintHeader();
    std::printf("load average (1, 5, 15 min) at the start: %s, at the end: %s\n",
                loadAtStart.c_str(), bench::Load().c_str());
    PrintTable(rows, allThreads, false);
    PrintTable(rows, allThreads, true);
    std::printf("\nBoth sides did the same job (Morvane's output on one thread against zimg's):\n");
    for (const std::string &n : notes) std::printf("  %s\n", n.c_str());
    return 0;
}

}  // namespace

int main() { return bench::RunReportingFaults("zimg_compare", Run); }
