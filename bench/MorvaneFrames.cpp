#include "bench/MorvaneFrames.h"

#include "bench/CpuClock.h"
#include "cli/ResizeJob.h"

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

TFrameTimes RunMorvaneFrames(const std::string &filterPath, const TToolOptions &options, const TFramePlan &plan,
                             const TYcImage &source) {
    TResizeSession session(filterPath, options, plan);
    TFrameTimes times;
    times.Threads = session.Threads();
    times.AppliedParam = session.AppliedParam();
    FILTER &filter = session.Host().Filter();
    RealProc = filter.func_proc;
    if (!RealProc) throw THostError(filterPath + ": no func_proc");
    filter.func_proc = TimedProc;
    for (int frame = 0; frame < options.Frames; ++frame) {
        TFrameResult result = session.Process(source, frame);
        times.Wall.push_back(result.Seconds);
        times.Cpu.push_back(LastCpuSeconds);
        if (frame + 1 == options.Frames) times.Last = std::move(result.Image);
    }
    filter.func_proc = RealProc;
    session.Finish();
    return times;
}
