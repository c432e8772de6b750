// One input to one output through the filter, whatever their kinds: the
// frames of a source pass the filter one at a time into a sink.
#pragma once
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "cli/CommandLine.h"
#include "cli/FrameFormat.h"
#include "cli/ResizeJob.h"
#include "cli/ToolReport.h"

// The sink for frames of the target size.
using TSinkMaker = std::function<std::unique_ptr<TFrameSink>(int width, int height)>;

// `options` gets the resolved target size; `job` the sizes and, for a
// stream, the frames written. Progress goes to `progress` when not null.
// A stream cut short keeps the frames before it in the output and then
// throws THostError, as does every other fault (then with no output).
TResizeOutcome PumpFrames(const std::string &filterPath, const TToolOptions &options,
                          TFrameSource &source, const TSinkMaker &makeSink, TJobSummary &job,
                          std::ostream *progress);
