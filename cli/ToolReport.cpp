#include "cli/ToolReport.h"

#include <cstdio>
#include <string>

#include "platform/SizeText.h"
#include "plugins/ConfigResolver.h"

namespace {

std::string Milliseconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", seconds * 1000.0);
    return text;
}

std::string FunctionLine(const TToolOptions &o, const TPluginInventory &inventory,
                         const TConfigRun &ran) {
    if (ran.Weighting != TWeighting::WindowFunc) return AreaAverageName;
    const TWindowFuncOffer &func = inventory.WindowFuncs[ran.WindowFunc];
    if (!func.HasParam) return func.Name;
    // The function is handed the parameter's 16 bits; its range is signed.
    return func.Name + ", parameter " + std::to_string(int16_t(ran.Param)) +
           (o.HasParam ? "" : " (the filter's)");
}

// The first frame also builds the weight and light tables.
std::string TimeLine(const TResizeOutcome &t) {
    if (t.Frames == 1) return Milliseconds(t.FirstSeconds) + " for the one frame (tables included)";
    return Milliseconds(t.RestSeconds / (t.Frames - 1)) + " per frame (mean of " +
           std::to_string(t.Frames - 1) + "); the first frame took " +
           Milliseconds(t.FirstSeconds) + " with its tables";
}

}  // namespace

void PrintReport(const TToolOptions &o, const TPluginInventory &inventory, const TConfigRun &ran,
                 const TJobSummary &job, const TResizeOutcome &outcome, std::ostream &out) {
    const std::string &kernelName = inventory.Kernels[ran.Kernel];
    const std::string kernel =
        kernelName + (!o.KernelByDefault                     ? ""
                      : inventory.IsFastestKnown(kernelName) ? " (the fastest this processor runs)"
                                                             : " (the first found)");
    out << "morvane: " << job.Input << " " << FormatSize(job.InWidth, job.InHeight) << " -> "
        << job.Output << " " << FormatSize(job.OutWidth, job.OutHeight)
        << (job.Frames ? ", " + std::to_string(job.Frames) + " frames" : "") << "\n";
    if (job.InWidth == job.OutWidth && job.InHeight == job.OutHeight)
        out << "  note      the size is unchanged: the filter passed the frame through unchanged\n";
    out << "  function  " << FunctionLine(o, inventory, ran) << "\n"
        << "  kernel    " << kernel << "\n"
        << "  threads   " << outcome.Threads << "\n"
        << "  time      " << TimeLine(outcome) << "\n";
    if (outcome.StreamSeconds > 0) {
        const double outside = outcome.StreamSeconds - outcome.FirstSeconds - outcome.RestSeconds;
        out << "  outside   " << Milliseconds(outside / outcome.Frames)
            << " per frame beside the filter (reading, converting, writing)\n";
    }
}

namespace {

// What the HQ kernels do differently, beside their names in the list.
const char *KernelNote(const std::string &name) {
    if (name == "SSE-HQ" || name == "AVX-HQ")
        return "  enlarges without halos (anti-ringing, sigmoidal light) and keeps every "
               "shadow code; a little slower";
    return "";
}

}  // namespace

void PrintInventory(const TPluginInventory &inventory, std::ostream &out) {
    out << "plug-in folder " << inventory.Folder << "\nwindow functions:\n";
    for (const TWindowFuncOffer &e : inventory.WindowFuncs) {
        out << "  " << e.Name;
        if (e.HasParam)
            out << "  parameter " << e.ParamMin << " to " << e.ParamMax << ", default "
                << e.ParamDefault;
        out << "\n";
    }
    out << "  " << AreaAverageName << "  (built in)\nkernels:\n";
    for (const std::string &k : inventory.Kernels) out << "  " << k << KernelNote(k) << "\n";
}
