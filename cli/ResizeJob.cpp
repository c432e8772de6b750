#include "cli/ResizeJob.h"

#include <algorithm>

#include "cli/ConfigBlock.h"
#include "platform/SizeText.h"
#include "standin/FrameBuffers.h"

TResizeSession::TResizeSession(const std::string &filterPath, const TToolOptions &options,
                               const TFramePlan &plan)
    : FPath(filterPath),
      FFunc(options.Func),
      FKernel(options.Kernel),
      FWidth(plan.Width),
      FHeight(plan.Height),
      FHost(filterPath, plan.MaxWidth, plan.MaxHeight, options.Threads) {
    FHost.Init();
    FHost.OpenWindow();
    const TFilterConfig block = MakeConfigBlock(options, plan.Width, plan.Height);
    FHost.RestoreProject(&block, sizeof block);
    TFilterConfig applied = InitialFilterConfig;
    if (!ReadConfigBlock(FHost.SaveProject(), applied))
        throw THostError(filterPath + ": the project data is not Morvane's 76-byte block");
    FAppliedParam = applied.WndFuncParam;
}

TResizeSession::~TResizeSession() = default;  // the host finishes what is open

void TResizeSession::Check(BOOL result, int width, int height, int frameNumber) const {
    if (!result)
        throw THostError(FPath + ": func_proc failed on frame " + std::to_string(frameNumber));
    if (width != FWidth || height != FHeight)
        // The filter passes a frame through unchanged when a plug-in's tables
        // or sizes cannot be used.
        throw THostError(FPath + ": the filter could not use window function \"" + FFunc + "\"" +
                         (FKernel.empty() ? "" : " with kernel \"" + FKernel + "\"") +
                         " (the frame came back " + FormatSize(width, height) + ", not " +
                         FormatSize(FWidth, FHeight) + ")");
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

TResizeOutcome OutcomeOf(const TResizeSession &session) {
    TResizeOutcome outcome;
    outcome.Threads = session.Threads();
    outcome.AppliedParam = session.AppliedParam();
    return outcome;
}

TResizeOutcome RunResize(const std::string &filterPath, const TToolOptions &options,
                         const TFramePlan &plan, const TYcImage &source,
                         const std::function<void(const TFrameResult &)> &eachFrame) {
    TResizeSession session(filterPath, options, plan);
    TResizeOutcome outcome = OutcomeOf(session);
    for (int frame = 0; frame < options.Frames; ++frame) {
        TFrameResult result = session.Process(source, frame);
        outcome.AddTime(result.Seconds);
        if (eachFrame) eachFrame(result);
        if (frame + 1 == options.Frames) outcome.Image = std::move(result.Image);
    }
    session.Finish();
    return outcome;
}

TFramePlan PlanFrames(const TToolOptions &o, const std::string &name, int inWidth, int inHeight) {
    TFramePlan p;
    ResolveSize(o.Size, inWidth, inHeight, p.Width, p.Height);
    const std::string beyond = LargestFrameFault("the target size", p.Width, p.Height);
    if (!beyond.empty()) throw THostError(name + ": " + beyond);
    p.MaxWidth = o.MaxWidth ? o.MaxWidth : HostStride(std::max(inWidth, p.Width));
    p.MaxHeight = o.MaxHeight ? o.MaxHeight : std::max(inHeight, p.Height);
    if (std::max(inWidth, p.Width) > p.MaxWidth || std::max(inHeight, p.Height) > p.MaxHeight)
        throw TUsageError("--max: the editor's largest frame " +
                          FormatSize(p.MaxWidth, p.MaxHeight) +
                          " must hold the input and the target size");
    return p;
}
