// The tool's job through the stand-in host: the editor's steps from loading
// the filter to closing it, with the frames in between.
#pragma once
#include <functional>
#include <string>

#include "cli/CommandLine.h"
#include "standin/StandinHost.h"
#include "standin/YcImage.h"

// One input's sizes: the target, which the saved block carries, and the
// editor's largest frame.
struct TFramePlan {
    int Width = 0, Height = 0;
    int MaxWidth = 0, MaxHeight = 0;
};

// The filter loaded, its window open and the options restored through the
// saved block; frames pass one at a time. Throws THostError.
class TResizeSession {
public:
    TResizeSession(const std::string &filterPath, const TToolOptions &options,
                   const TFramePlan &plan);
    ~TResizeSession();
    TResizeSession(const TResizeSession &) = delete;
    TResizeSession &operator=(const TResizeSession &) = delete;

    int AppliedParam() const { return FAppliedParam; }  // WndFuncParam after func_update
    int Threads() const { return FHost.ThreadCount(); }
    // For a caller that wraps the filter's callbacks, as the benchmark times func_proc.
    TStandinHost &Host() { return FHost; }
    // The frame at the target size; throws when func_proc fails or returns
    // another size.
    TFrameResult Process(const TYcImage &frame, int frameNumber);
    // The same for a frame written straight into Host().InputFrame().
    TFrameView ProcessInput(int width, int height, int frameNumber);
    // Closes the window and calls func_exit.
    void Finish();

private:
    void Check(BOOL result, int width, int height, int frameNumber) const;

    const std::string FPath;
    const std::string FFunc, FKernel;  // to name what the filter could not use
    const int FWidth, FHeight;
    TStandinHost FHost;
    int FAppliedParam = 0;
    bool FFinished = false;
};

struct TResizeOutcome {
    TYcImage Image;  // the last frame as the filter returned it
    int AppliedParam = 0;
    int Threads = 0;
    // Time inside func_proc: the first frame, which also builds the tables,
    // and the sum over the rest.
    double FirstSeconds = 0, RestSeconds = 0;
    // For a stream: from the first frame read to the last written.
    double StreamSeconds = 0;
    int Frames = 0;
    void AddTime(double seconds) { (Frames++ ? RestSeconds : FirstSeconds) += seconds; }
};

// An outcome with no frames yet, of what the session runs.
TResizeOutcome OutcomeOf(const TResizeSession &session);

// For the benchmarks, which time the filter alone: the same picture
// options.Frames times through copies in and out of the host's frames;
// `eachFrame`, if given, sees every frame's result. The tool pumps its
// frames without the copies (FramePump.h).
TResizeOutcome RunResize(const std::string &filterPath, const TToolOptions &options,
                         const TFramePlan &plan, const TYcImage &source,
                         const std::function<void(const TFrameResult &)> &eachFrame = nullptr);

// The target size for an input `inWidth` × `inHeight` named `name`, and the
// editor's largest frame: --max, or the larger of input and target each
// way, the width rounded up to a multiple of 8. Throws when the target or
// --max breaks the largest frame the tool offers.
TFramePlan PlanFrames(const TToolOptions &options, const std::string &name, int inWidth,
                      int inHeight);
