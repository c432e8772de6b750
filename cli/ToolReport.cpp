#include "cli/ToolReport.h"

#include <cstdio>
#include <numeric>
#include <string>

namespace {

std::string Size(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

std::string Milliseconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", seconds * 1000.0);
    return text;
}

std::string FunctionLine(const TToolOptions &o, const TPluginInventory &inventory,
                         const TResizeOutcome &outcome) {
    const TWindowFuncEntry *func = inventory.FindWindowFunc(o.Func);
    if (!func) return o.Func;  // the built-in area average
    if (!func->HasParam) return o.Func;
    return o.Func + ", parameter " + std::to_string(outcome.AppliedParam) +
           (o.HasParam ? "" : " (the filter's)");
}

// The first frame also builds the weight and light tables.
std::string TimeLine(const std::vector<double> &seconds) {
    if (seconds.size() == 1) return Milliseconds(seconds[0]) + " for the one frame (tables included)";
    const double rest = std::accumulate(seconds.begin() + 1, seconds.end(), 0.0) / double(seconds.size() - 1);
    return Milliseconds(rest) + " per frame (mean of " + std::to_string(seconds.size() - 1) +
           "); the first frame took " + Milliseconds(seconds[0]) + " with its tables";
}

}  // namespace

void PrintReport(const TToolOptions &o, const TPluginInventory &inventory, const TRgbImage &input,
                 const TResizeOutcome &outcome, std::ostream &out) {
    const std::string kernel = o.Kernel.empty() ? inventory.Kernels.front() + " (the first found)" : o.Kernel;
    out << "morvane: " << o.Input << " " << Size(input.Width, input.Height) << " -> " << o.Output
        << " " << Size(outcome.Image.Width, outcome.Image.Height) << "\n"
        << "  function  " << FunctionLine(o, inventory, outcome) << "\n"
        << "  kernel    " << kernel << "\n"
        << "  threads   " << outcome.Threads << "\n"
        << "  time      " << TimeLine(outcome.FrameSeconds) << "\n";
}

void PrintInventory(const TPluginInventory &inventory, std::ostream &out) {
    out << "plug-in folder " << inventory.Folder << "\nwindow functions:\n";
    for (const TWindowFuncEntry &e : inventory.WindowFuncs) {
        out << "  " << e.Name;
        if (e.HasParam)
            out << "  parameter " << e.ParamMin << " to " << e.ParamMax << ", default " << e.ParamDefault;
        out << "\n";
    }
    out << "  AreaAverage  (built in)\nkernels:\n";
    for (const std::string &k : inventory.Kernels) out << "  " << k << "\n";
}
