#include "cli/ResizeJob.h"

#include <algorithm>

#include "cli/ConfigBlock.h"
#include "cli/FrameBuffers.h"

TResizeSession::TResizeSession(const std::string &filterPath, const TToolOptions &options, int maxWidth,
                               int maxHeight)
    : FPath(filterPath), FFunc(options.Func), FKernel(options.Kernel), FWidth(options.Width), FHeight(options.Height),
      FHost(filterPath, maxWidth, maxHeight, options.Threads) {
    FHost.Init();
    FHost.OpenWindow();
    const TFilterConfig block = MakeConfigBlock(options);
    FHost.RestoreProject(&block, sizeof block);
    TFilterConfig applied = InitialFilterConfig;
    if (!ReadConfigBlock(FHost.SaveProject(), applied))
        throw THostError(filterPath + ": the project data is not Morvane's 76-byte block");
    FAppliedParam = applied.WndFuncParam;
}

TResizeSession::~TResizeSession() = default;  // the host finishes what is open

void TResizeSession::Check(BOOL result, int width, int height, int frameNumber) const {
    if (!result) throw THostError(FPath + ": func_proc failed on frame " + std::to_string(frameNumber));
    if (width != FWidth || height != FHeight)
        // The filter passes a frame through unchanged when a plug-in's tables
        // or sizes cannot be used.
        throw THostError(FPath + ": the filter could not use window function \"" + FFunc + "\"" +
                         (FKernel.empty() ? "" : " with kernel \"" + FKernel + "\"") + " (the frame came back " +
                         std::to_string(width) + "x" + std::to_string(height) + ", not " + std::to_string(FWidth) +
                         "x" + std::to_string(FHeight) + ")");
}

TFrameResult TResizeSession::Process(const TYcImage &frame, int frameNumber) {
    TFrameResult result = FHost.ProcessFrame(frame, frameNumber);
    Check(result.Result, result.Image.Width, result.Image.Height, frameNumber);
    return result;
}

TFrameView TResizeSession::ProcessInput(int width, int height, int frameNumber) {
    const TFrameView view = FHost.ProcessInput(width, height, frameNumber);
    Check(view.Result, view.Width, view.Height, frameNumber);
    return view;
}

void TResizeSession::Finish() {
    if (FFinished) return;
    FFinished = true;
    FHost.CloseWindow();
    FHost.Exit();
}

TResizeOutcome RunResize(const std::string &filterPath, const TToolOptions &options,
                         const TYcImage &source, int maxWidth, int maxHeight) {
    TResizeSession session(filterPath, options, maxWidth, maxHeight);
    TResizeOutcome outcome;
    outcome.Threads = session.Threads();
    outcome.AppliedParam = session.AppliedParam();
    for (int frame = 0; frame < options.Frames; ++frame) {
        TFrameResult result = session.Process(source, frame);
        outcome.AddTime(result.Seconds);
        if (frame + 1 == options.Frames) outcome.Image = std::move(result.Image);
    }
    session.Finish();
    return outcome;
}

void PlanFrames(TToolOptions &o, const std::string &name, int inWidth, int inHeight, int &maxWidth,
                int &maxHeight) {
    ResolveSize(o.Size, inWidth, inHeight, o.Width, o.Height);
    const auto size = [](int w, int h) { return std::to_string(w) + "x" + std::to_string(h); };
    if (o.Width > kMaxFrameWidth || o.Height > kMaxFrameHeight)
        throw THostError(name + ": the target size " + size(o.Width, o.Height) + " is beyond the largest frame " +
                         size(kMaxFrameWidth, kMaxFrameHeight));
    maxWidth = o.MaxWidth ? o.MaxWidth : HostStride(std::max(inWidth, o.Width));
    maxHeight = o.MaxHeight ? o.MaxHeight : std::max(inHeight, o.Height);
    if (std::max(inWidth, o.Width) > maxWidth || std::max(inHeight, o.Height) > maxHeight)
        throw TUsageError("--max: the editor's largest frame " + size(maxWidth, maxHeight) +
                          " must hold the input and the target size");
}
