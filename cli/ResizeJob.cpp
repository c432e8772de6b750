#include "cli/ResizeJob.h"

#include "cli/ConfigBlock.h"
#include "cli/StandinHost.h"

TResizeOutcome RunResize(const std::string &filterPath, const TToolOptions &options,
                         const TYcImage &source, int maxWidth, int maxHeight) {
    TStandinHost host(filterPath, maxWidth, maxHeight, options.Threads);
    TResizeOutcome outcome;
    outcome.Threads = host.ThreadCount();
    host.Init();
    host.OpenWindow();

    const TFilterConfig block = MakeConfigBlock(options);
    host.RestoreProject(&block, sizeof block);
    TFilterConfig applied;
    if (!ReadConfigBlock(host.SaveProject(), applied))
        throw THostError(filterPath + ": the project data is not Morvane's 76-byte block");
    outcome.AppliedParam = applied.WndFuncParam;

    for (int frame = 0; frame < options.Frames; ++frame) {
        TFrameResult result = host.ProcessFrame(source, frame);
        if (!result.Result)
            throw THostError(filterPath + ": func_proc failed on frame " + std::to_string(frame));
        outcome.FrameSeconds.push_back(result.Seconds);
        if (frame + 1 == options.Frames) outcome.Image = std::move(result.Image);
    }
    host.CloseWindow();
    host.Exit();
    return outcome;
}
