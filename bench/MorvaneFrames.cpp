#include "bench/MorvaneFrames.h"

#include "bench/CpuClock.h"
#include "cli/ConfigBlock.h"
#include "cli/StandinHost.h"

namespace {

// The filter's own func_proc and what the last call cost; the host calls
// the wrapper in its place, with the same arguments on the same thread.
FilterProcFunc RealProc = nullptr;
double LastCpuSeconds = 0;

BOOL MV_CDECL TimedProc(FILTER *fp, FILTER_PROC_INFO *fpip) {
    const double start = ProcessCpuSeconds();
    const BOOL result = RealProc(fp, fpip);
    LastCpuSeconds = ProcessCpuSeconds() - start;
    return result;
}

}  // namespace

TFrameTimes RunMorvaneFrames(const std::string &filterPath, const TToolOptions &options,
                             const TYcImage &source, int maxWidth, int maxHeight) {
    TStandinHost host(filterPath, maxWidth, maxHeight, options.Threads);
    TFrameTimes times;
    times.Threads = host.ThreadCount();
    host.Init();
    host.OpenWindow();
    const TFilterConfig block = MakeConfigBlock(options);
    host.RestoreProject(&block, sizeof block);
    TFilterConfig applied = InitialFilterConfig;
    if (!ReadConfigBlock(host.SaveProject(), applied))
        throw THostError(filterPath + ": the project data is not Morvane's 76-byte block");
    times.AppliedParam = applied.WndFuncParam;

    RealProc = host.Filter().func_proc;
    if (!RealProc) throw THostError(filterPath + ": no func_proc");
    host.Filter().func_proc = TimedProc;
    for (int frame = 0; frame < options.Frames; ++frame) {
        TFrameResult result = host.ProcessFrame(source, frame);
        if (!result.Result)
            throw THostError(filterPath + ": func_proc failed on frame " + std::to_string(frame));
        times.Wall.push_back(result.Seconds);
        times.Cpu.push_back(LastCpuSeconds);
        if (frame + 1 == options.Frames) times.Last = std::move(result.Image);
    }
    host.Filter().func_proc = RealProc;
    host.CloseWindow();
    host.Exit();
    return times;
}
