#include "cli/Tool.h"

#include <algorithm>
#include <filesystem>
#include <new>

#include "cli/CommandLine.h"
#include "cli/ConfigBlock.h"
#include "cli/PluginInventory.h"
#include "cli/PpmFile.h"
#include "cli/ResizeJob.h"
#include "cli/TestPattern.h"
#include "cli/ToolReport.h"
#include "cli/YcConversion.h"

namespace {

const char *const kAreaAverage = "AreaAverage";

std::string Joined(const std::vector<std::string> &names) {
    std::string text;
    for (const std::string &n : names) text += (text.empty() ? "" : ", ") + n;
    return text.empty() ? "none" : text;
}

// The filter falls back to its first entries without a word; the tool
// refuses instead, so that its report never names what did not run.
void CheckChoices(const TToolOptions &o, const TPluginInventory &inventory) {
    const auto fail = [&](const std::string &fault) { throw THostError(inventory.Folder + ": " + fault); };
    std::vector<std::string> funcs;
    for (const TWindowFuncEntry &e : inventory.WindowFuncs) funcs.push_back(e.Name);
    if (funcs.empty()) fail("no window-function plug-in (the filter needs one, even for AreaAverage)");
    if (inventory.Kernels.empty()) fail("no kernel plug-in");
    const TWindowFuncEntry *func = inventory.FindWindowFunc(o.Func);
    if (o.Func != kAreaAverage && !func)
        fail("no window function \"" + o.Func + "\" (found: " + Joined(funcs) + ", AreaAverage)");
    if (!o.Kernel.empty() && !inventory.HasKernel(o.Kernel))
        fail("no kernel plug-in \"" + o.Kernel + "\" (found: " + Joined(inventory.Kernels) + ")");
    if (o.HasParam && func && (o.Param < func->ParamMin || o.Param > func->ParamMax))
        throw TUsageError("--param: " + std::to_string(o.Param) + " is outside " + o.Func + "'s range " +
                          std::to_string(func->ParamMin) + " to " + std::to_string(func->ParamMax));
}

TRgbImage LoadInput(const TToolOptions &o) {
    if (o.Input == kBuiltinInput) return MakeTestPattern(o.PatternWidth, o.PatternHeight);
    return ReadPpm(o.Input);
}

int Resize(const TToolOptions &o, const std::string &filterPath, std::ostream &out) {
    const TPluginInventory inventory = TakeInventory(filterPath);
    if (o.List) {
        PrintInventory(inventory, out);
        return 0;
    }
    CheckChoices(o, inventory);
    const TRgbImage input = LoadInput(o);
    const int maxW = o.MaxWidth ? o.MaxWidth : std::max(input.Width, o.Width);
    const int maxH = o.MaxHeight ? o.MaxHeight : std::max(input.Height, o.Height);
    if (std::max(input.Width, o.Width) > maxW || std::max(input.Height, o.Height) > maxH)
        throw TUsageError("--max: the editor's largest frame " + std::to_string(maxW) + "x" +
                          std::to_string(maxH) + " must hold the input and the target size");

    const TResizeOutcome outcome = RunResize(filterPath, o, ToYcImage(input), maxW, maxH);
    if (outcome.Image.Width != o.Width || outcome.Image.Height != o.Height)
        throw THostError(filterPath + ": the frame came back " + std::to_string(outcome.Image.Width) +
                         "x" + std::to_string(outcome.Image.Height) + ", not the requested size");
    WritePpm(o.Output, ToRgbImage(outcome.Image));
    PrintReport(o, inventory, input, outcome, out);
    return 0;
}

}  // namespace

int RunTool(const std::vector<std::string> &args, const std::string &defaultFilterPath,
            std::ostream &out, std::ostream &err) {
    try {
        const TToolOptions o = ParseCommandLine(args);
        if (o.Help) {
            out << HelpText();
            return 0;
        }
        const std::string filterPath = o.FilterPath.empty() ? defaultFilterPath : o.FilterPath;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(filterPath, ec))
            throw THostError(filterPath + ": no such file (the filter plug-in; see --filter)");
        return Resize(o, filterPath, out);
    } catch (const TUsageError &e) {
        err << "morvane: " << e.what() << " (see morvane --help)\n";
        return 2;
    } catch (const THostError &e) {
        err << "morvane: " << e.what() << "\n";
        return 1;
    } catch (const std::bad_alloc &) {
        err << "morvane: out of memory\n";
        return 1;
    } catch (const std::exception &e) {  // the file system's faults name their paths
        err << "morvane: " << e.what() << "\n";
        return 1;
    }
}
