// The `morvane` tool's command line.
#pragma once
#include <string>
#include <vector>

#include "standin/HostError.h"
#include "cli/TargetSize.h"
#include "abi/FilterConfig.h"
#include "plugins/PluginName.h"

// A command line that cannot be run; the message names the option at fault.
class TUsageError : public THostError {
public:
    using THostError::THostError;
};

// The input that stands for the built-in test image.
inline constexpr const char *kBuiltinInput = "builtin";
// The input or output that stands for a YUV4MPEG2 stream on stdin or stdout.
inline constexpr const char *kStreamName = "-";

struct TToolOptions {
    bool Help = false;
    bool Version = false;
    bool List = false;                // list the plug-in folder's functions and kernels
    bool Quiet = false;               // no progress and no report, only faults
    std::vector<std::string> Inputs;  // files, kStreamName or kBuiltinInput
    std::string Output;               // the file to write, or a folder for several inputs
    bool OutputIsFolder = false;      // -o OUTDIR, or several inputs
    TSizeRequest Size;                // as written; resolved per input by PlanFrames
    // A window function or AreaAverageName; by default the filter's own first choice.
    std::string Func = ReadConfigName(InitialFilterConfig.WndFuncName);
    bool HasParam = false;
    int Param = 0;
    std::string Kernel;            // empty: the fastest kernel plug-in found
    bool KernelByDefault = false;  // Kernel was empty and the tool chose
    int Threads = 0;               // 0: one per processor
    std::string FilterPath;        // empty: Morvane.auf beside the tool
    int PatternWidth = 1920, PatternHeight = 1080;
    int Frames = 1;
    int MaxWidth = 0, MaxHeight = 0;  // 0: sized from the input and the target
    int Quality = 90;                 // of JPEG output, 1..100
};

// Throws TUsageError.
TToolOptions ParseCommandLine(const std::vector<std::string> &args);

std::string HelpText();
std::string VersionText();
