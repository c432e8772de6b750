// A picture through the filter: a stream of one frame, converted straight
// between its samples and the host's frame in bands on the host's workers,
// as a video's frames are.
#pragma once
#include <string>

#include "cli/CommandLine.h"
#include "cli/Picture.h"
#include "cli/ResizeJob.h"

// `source` options.Frames times, for the timing; the last pass's result
// into `out`, which has the target size and the channels and depth wanted.
TResizeOutcome RunPicture(const std::string &filterPath, const TToolOptions &options,
                          const TFramePlan &plan, const TPicture &source, TPicture &out);
