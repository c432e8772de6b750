// The HQ kernels against their standard twins, side by side in one run:
// the zimg comparison's cases (1920x1080 -> 1280x720, 1280x720 -> 1920x1080,
// 3840x2160 -> 1920x1080; Spline16, Spline36, Lanczos 3) and 1280x720 ->
// 3840x2160, one thread and all, through func_proc as the editor drives it.
// Runs of the two kernels alternate (standard first in even rounds, HQ
// first in odd ones), and each kernel's time per frame is the minimum over
// all its rounds' warm frames, by wall clock and by processor time.
// Targets: HQ / standard at most 1.25 in enlargements, 1.10 in reductions.
// Arguments are ignored (the bench script hands every program the same
// ones); HQ_ROUNDS sets the rounds (default 3).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchRun.h"
#include "cli/Picture.h"
#include "cli/PluginInventory.h"
#include "cli/ResizeJob.h"
#include "cli/TestPattern.h"
#include "platform/Library.h"
#include "platform/Paths.h"
#include "platform/SizeText.h"

namespace {

constexpr int kWarmUp = 1;  // the first frame also builds the tables
constexpr int kFrames = 4;  // measured frames per run

struct TSize {
    int Width, Height;
};
struct TScenario {
    TSize Src, Dst;
    bool Enlarges() const { return Dst.Width > Src.Width || Dst.Height > Src.Height; }
};
const TScenario kScenarios[] = {{{1920, 1080}, {1280, 720}},
                                {{1280, 720}, {1920, 1080}},
                                {{3840, 2160}, {1920, 1080}},
                                {{1280, 720}, {3840, 2160}}};

struct TFunction {
    const char *Name;
    int Param;  // 0: none
};
const TFunction kFunctions[] = {{"Spline16", 0}, {"Spline36", 0}, {"Lanczos", 3}};

struct TPair {
    const char *Standard, *Hq;
};
const TPair kPairs[] = {{"SSE", "SSE-HQ"}, {"AVX", "AVX-HQ"}};

constexpr double kEnlargeTarget = 1.25, kReduceTarget = 1.10;

// Minimum ms per frame by wall clock and by processor time.
struct TBest {
    double Wall = 1e30, Cpu = 1e30;
};

void RunOnce(const std::string &filter, const TScenario &s, const TFunction &f,
             const std::string &kernel, int threads, const TYcImage &source, TBest &best) {
    TToolOptions o;
    o.Func = f.Name;
    o.HasParam = f.Param != 0;
    o.Param = f.Param;
    o.Kernel = kernel;
    o.Threads = threads;
    o.Frames = kWarmUp + kFrames;
    const TFramePlan plan{s.Dst.Width, s.Dst.Height, std::max(s.Src.Width, s.Dst.Width),
                          std::max(s.Src.Height, s.Dst.Height)};
    int frame = 0;
    RunResize(filter, o, plan, source, [&](const TFrameResult &r) {
        if (frame++ < kWarmUp) return;
        best.Wall = std::min(best.Wall, r.Seconds * 1000);
        best.Cpu = std::min(best.Cpu, r.CpuSeconds * 1000);
    });
}

struct TRow {
    std::string Case, Func, Pair;
    int Threads;
    bool Enlarges;
    TBest Standard, Hq;
};

void PrintTable(const std::vector<TRow> &rows, bool cpu) {
    std::printf("\n%s\n", cpu ? "By processor time inside func_proc (all threads' together):"
                              : "By wall clock:");
    std::printf("%-24s %-9s %-14s %-7s %10s %10s %7s  %s\n", "case", "function", "kernels",
                "threads", "standard", "HQ", "HQ/std", "target");
    for (const TRow &r : rows) {
        const double s = cpu ? r.Standard.Cpu : r.Standard.Wall, h = cpu ? r.Hq.Cpu : r.Hq.Wall;
        const double target = r.Enlarges ? kEnlargeTarget : kReduceTarget;
        std::printf("%-24s %-9s %-14s %-7d %10.2f %10.2f %7.3f  %s %.2f\n", r.Case.c_str(),
                    r.Func.c_str(), r.Pair.c_str(), r.Threads, s, h, h / s,
                    h / s <= target ? "met <=" : "MISSED >", target);
    }
}

int Run() {
    const std::string filter = bench::FilterBesideBench();
    const TPluginInventory inventory = TakeInventory(filter);
    const int allThreads = int(std::max(1u, std::thread::hardware_concurrency()));
    const char *roundsText = std::getenv("HQ_ROUNDS");
    const int rounds = roundsText ? std::max(1, std::atoi(roundsText)) : 3;

    const std::string loadAtStart = bench::Load();
    std::vector<TRow> rows;
    for (const TScenario &s : kScenarios) {
        const TYcImage source = ToYcImage(MakeTestPattern(s.Src.Width, s.Src.Height));
        for (const TFunction &f : kFunctions)
            for (const TPair &p : kPairs) {
                if (!inventory.HasKernel(p.Standard) || !inventory.HasKernel(p.Hq)) continue;
                const std::vector<int> threadCounts =
                    allThreads > 1 ? std::vector<int>{1, allThreads} : std::vector<int>{1};
                for (int threads : threadCounts) {
                    TRow row{FormatSize(s.Src.Width, s.Src.Height) + " -> " +
                                 FormatSize(s.Dst.Width, s.Dst.Height),
                             f.Name,
                             std::string(p.Standard) + " / " + p.Hq,
                             threads,
                             s.Enlarges(),
                             {},
                             {}};
                    for (int round = 0; round < rounds; ++round) {
                        const bool hqFirst = round % 2 == 1;
                        for (int k = 0; k < 2; ++k) {
                            const bool hq = (k == 0) == hqFirst;
                            RunOnce(filter, s, f, hq ? p.Hq : p.Standard, threads, source,
                                    hq ? row.Hq : row.Standard);
                        }
                    }
                    rows.push_back(row);
                    std::fprintf(stderr, ".");
                }
            }
    }
    std::fprintf(stderr, "\n");
    std::printf(
        "The HQ kernels against their standard twins through func_proc, ms per frame: minimum "
        "of %d rounds x %d frames (after %d warm-up) per kernel, runs interleaved\n",
        rounds, kFrames, kWarmUp);
    std::printf("load average (1, 5, 15 min) at the start: %s, at the end: %s\n",
                loadAtStart.c_str(), bench::Load().c_str());
    if (rows.empty()) std::printf("no pair of standard and HQ kernel in the plug-in folder\n");
    PrintTable(rows, false);
    PrintTable(rows, true);
    return 0;
}

}  // namespace

int main() { return bench::RunReportingFaults("hq_compare", Run); }
