// One run of the tool's job through the stand-in host: the editor's steps
// from loading the filter to closing it, with the frames in between.
#pragma once
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/YcImage.h"

struct TResizeOutcome {
    TYcImage Image;          // the last frame as the filter returned it
    int AppliedParam = 0;    // WndFuncParam after the filter's func_update
    int Threads = 0;
    std::vector<double> FrameSeconds;  // time inside func_proc, per frame
};

// Throws THostError when the filter cannot be loaded or a frame fails.
TResizeOutcome RunResize(const std::string &filterPath, const TToolOptions &options,
                         const TYcImage &source, int maxWidth, int maxHeight);
