// Frames through Morvane.auf as the editor passes them: the stand-in host
// loads the filter, restores the 76-byte block and calls func_proc, whose
// work runs on the host's worker threads. Each frame is timed inside
// func_proc twice: wall clock, and the processor time of the whole process
// (every worker's), which other programs' load barely changes.
#pragma once
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ResizeJob.h"
#include "cli/YcImage.h"

struct TFrameTimes {
    std::vector<double> Wall, Cpu;  // seconds per frame
    TYcImage Last;                  // the last frame as the filter returned it
    int AppliedParam = 0;           // the block's parameter after func_update
    int Threads = 0;
};

// `options` gives function, parameter, kernel, threads and frames; `plan`
// the sizes.
// Throws THostError when the filter cannot be loaded or a frame fails.
TFrameTimes RunMorvaneFrames(const std::string &filterPath, const TToolOptions &options, const TFramePlan &plan,
                             const TYcImage &source);
