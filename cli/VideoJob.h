// A YUV4MPEG2 stream through the filter, one frame at a time: memory does
// not grow with the length of the video.
#pragma once
#include <ostream>
#include <string>

#include "cli/CommandLine.h"
#include "cli/ResizeJob.h"
#include "cli/ToolReport.h"

// Reads `input` ("-": standard input) and writes `output` ("-": standard
// output) in the input's chroma layout and depth, its other tags kept.
// `options` gets the resolved target size. Progress goes to `progress` when
// not null. A stream cut short keeps the frames before it in the output and
// then throws THostError, as does every other fault (then with no output).
TResizeOutcome RunVideo(const std::string &filterPath, const TToolOptions &options,
                        const std::string &input, const std::string &output, TJobSummary &job,
                        std::ostream *progress);
