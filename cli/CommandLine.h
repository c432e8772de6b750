// The `morvane` tool's command line.
#pragma once
#include <string>
#include <vector>

#include "cli/HostError.h"

// A command line that cannot be run; the message names the option at fault.
class TUsageError : public THostError {
public:
    using THostError::THostError;
};

// The input that stands for the built-in test image.
inline constexpr const char *kBuiltinInput = "builtin";

struct TToolOptions {
    bool Help = false;
    bool List = false;             // list the plug-in folder's functions and kernels
    std::string Input;             // a PPM file or kBuiltinInput
    std::string Output;            // the PPM file to write
    int Width = 0, Height = 0;     // target size
    std::string Func = "Spline16"; // window function or "AreaAverage"
    bool HasParam = false;
    int Param = 0;
    std::string Kernel;            // empty: the first kernel plug-in found
    int Threads = 0;               // 0: one per processor
    std::string FilterPath;        // empty: Morvane.auf beside the tool
    int PatternWidth = 1920, PatternHeight = 1080;
    int Frames = 4;
    int MaxWidth = 0, MaxHeight = 0;  // 0: the larger of source and target
};

// Throws TUsageError.
TToolOptions ParseCommandLine(const std::vector<std::string> &args);
// "WxH" with both sides in 1..max; false otherwise.
bool ParseSize(const std::string &text, int max, int &width, int &height);

std::string HelpText();
