#include "cli/Tool.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <new>

#include "cli/CommandLine.h"
#include "cli/ConfigBlock.h"
#include "cli/PluginInventory.h"
#include "cli/OutputFile.h"
#include "cli/JpegFile.h"
#include "cli/Progress.h"
#include "cli/PictureFiles.h"
#include "cli/FramePump.h"
#include "cli/PngFile.h"
#include "cli/ResizeJob.h"
#include "cli/ToolReport.h"
#include "platform/FileReplacement.h"
#include "platform/Library.h"
#include "platform/Paths.h"
#include "plugins/ConfigResolver.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

const char *const kKindsText = "use .png, .jpg, .ppm, .y4m or - for a YUV4MPEG2 stream";

std::string Joined(const std::vector<std::string> &names) {
    std::string text;
    for (const std::string &n : names) text += (text.empty() ? "" : ", ") + n;
    return text.empty() ? "none" : text;
}

// The filter falls back to its first entries without a word; the tool
// refuses instead, so that its report never names what did not run. What
// will run, as the filter's own rules decide it.
TConfigRun CheckChoices(const TToolOptions &o, const TPluginInventory &inventory) {
    const auto fail = [&](const std::string &fault) {
        throw THostError(inventory.Folder + ": " + fault);
    };
    std::vector<std::string> funcs;
    for (const TWindowFuncOffer &e : inventory.WindowFuncs) funcs.push_back(e.Name);
    // The area average is built in and needs only a kernel.
    if (funcs.empty() && o.Func != AreaAverageName)
        fail("no window-function plug-in (only " + std::string(AreaAverageName) +
             " works without one)");
    // The size plays no part in what is chosen.
    const TConfigRun run = RunAfterRestore(MakeConfigBlock(o, 1, 1), inventory.ConfigOffer(1, 1));
    if (!run.Applies) fail("no kernel plug-in");
    if (run.FuncFallback)
        fail("no window function \"" + o.Func + "\" (found: " + Joined(funcs) + ", " +
             AreaAverageName + ")");
    if (run.KernelFallback && !o.Kernel.empty())
        fail("no kernel plug-in \"" + o.Kernel + "\" (found: " + Joined(inventory.Kernels) + ")");
    if (!o.HasParam || run.Weighting != TWeighting::WindowFunc) return run;
    const TWindowFuncOffer &func = inventory.WindowFuncs[run.WindowFunc];
    if (!InLimits(func, o.Param))
        throw TUsageError("--param: " + std::to_string(o.Param) + " is outside " + o.Func +
                          "'s range " + std::to_string(func.ParamMin) + " to " +
                          std::to_string(func.ParamMax));
    return run;
}

// The filter file itself, before it is loaded: a damaged one is named
// rather than failing to load; one that is no library at all is named when
// the stand-in host loads it.
void CheckFilterFile(const std::string &filterPath) {
    using platform::TLibraryFaultKind;
    const platform::TLibraryFileFault fault = platform::LibraryFileFault(filterPath);
    if (fault.Kind != TLibraryFaultKind::None && fault.Kind != TLibraryFaultKind::NotALibrary)
        throw THostError(filterPath + ": " + fault.Text);
}

// A damaged library in the plug-in folder is named rather than skipped, so
// that the user learns why a plug-in is missing.
void CheckLibraries(const TPluginInventory &inventory) {
    using platform::TLibraryFaultKind;
    for (const std::string &file : platform::ListLibraries(inventory.Folder)) {
        const platform::TLibraryFileFault libraryFault =
            platform::LibraryFileFault(inventory.Folder + file);
        if (libraryFault.Kind != TLibraryFaultKind::None)
            throw THostError(inventory.Folder + file + ": " + libraryFault.Text);
    }
}

std::string OutputFor(const TToolOptions &o, const std::string &input) {
    if (!o.OutputIsFolder) return o.Output;
    const std::string name =
        input == kBuiltinInput ? "builtin.png" : std::filesystem::path(input).filename().string();
    return (std::filesystem::path(o.Output) / name).string();
}

// Before anything is written: no output may be an input, nor two inputs'
// outputs one file. Names are compared as the system resolves them, so a
// link, a hard link or another spelling of the same file is caught.
void CheckOutputsAgainstInputs(const TToolOptions &o) {
    std::vector<std::string> outputs, targets;
    for (const std::string &input : o.Inputs) {
        outputs.push_back(OutputFor(o, input));
        std::string target;
        platform::FollowLinks(outputs.back(), target);
        targets.push_back(std::filesystem::path(target).lexically_normal().string());
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        for (const std::string &input : o.Inputs)
            if (input != kBuiltinInput && IsSameFile(outputs[i], false, input, true))
                throw THostError(outputs[i] + ": the output is the input file " + input +
                                 "; nothing is written");
        for (std::size_t j = 0; j < i; ++j)
            if (targets[i] == targets[j] || IsSameFile(outputs[i], false, outputs[j], false))
                throw THostError(outputs[i] + ": the output of both " + o.Inputs[j] + " and " +
                                 o.Inputs[i] + "; nothing is written");
    }
}

// One input to its output; throws on any fault.
void ResizeOne(const TToolOptions &o, const std::string &filterPath,
               const TPluginInventory &inventory, const TConfigRun &chosen,
               const std::string &input, std::ostream &out, std::ostream &err,
               std::ostream *progress) {
    const std::string output = OutputFor(o, input);
    // What can never be written is refused before the input is read.
    const TOutputTarget target = ResolveOutput(output);
    const TFileKind inKind = KindOf(input);
    TFileKind outKind = KindOf(output);
    // A device or FIFO, or a name such as /dev/stdout for a descriptor the
    // shell opened, takes what the input is, and the report goes aside.
    const bool device =
        target.InPlace || output.rfind("/dev/", 0) == 0 || output.rfind("/proc/", 0) == 0;
    if (outKind == TFileKind::Unknown && device)
        outKind =
            inKind == TFileKind::Stream || inKind == TFileKind::Png || inKind == TFileKind::Jpeg
                ? inKind
                : TFileKind::Ppm;
    if (inKind == TFileKind::Unknown)
        throw THostError(input + ": unknown kind of file (" + kKindsText + ")");
    if (outKind == TFileKind::Unknown || outKind == TFileKind::Builtin)
        throw THostError(output + ": unknown kind of file (" + kKindsText + ")");
    if ((inKind == TFileKind::Png || outKind == TFileKind::Png) && !IsPngAvailable())
        throw THostError((inKind == TFileKind::Png ? input : output) +
                         ": PNG is not available in this build");
    if ((inKind == TFileKind::Jpeg || outKind == TFileKind::Jpeg) && !IsJpegAvailable())
        throw THostError((inKind == TFileKind::Jpeg ? input : output) +
                         ": JPEG is not available in this build");
    if (IsPicture(inKind) != IsPicture(outKind))
        throw THostError(output + ": " +
                         (IsPicture(inKind) ? "a picture goes to .png, .jpg or .ppm"
                                            : "a video stream goes to .y4m or -"));
    TJobSummary job{input, output};
    // The report must not mix with video on standard output.
    std::ostream &report = device ? err : out;
    const std::unique_ptr<TFrameSource> source = OpenSource(input, inKind, o, err);
    const auto makeSink = [&](int width, int height) {
        return MakeSink(output, outKind, source->Format(), width, height, o, err);
    };
    // A video's frames show their progress; a picture is one frame.
    const TResizeOutcome outcome = PumpFrames(filterPath, o, *source, makeSink, job,
                                              source->Format().Stream ? progress : nullptr);
    if (!o.Quiet) PrintReport(o, inventory, chosen, job, outcome, report);
}

// Memory runs out on a particular file; the message names it.
void ResizeNamed(const TToolOptions &o, const std::string &filterPath,
                 const TPluginInventory &inventory, const TConfigRun &chosen,
                 const std::string &input, std::ostream &out, std::ostream &err,
                 std::ostream *progress) {
    try {
        ResizeOne(o, filterPath, inventory, chosen, input, out, err, progress);
    } catch (const std::bad_alloc &) {
        throw THostError((input == kStreamName ? std::string("standard input") : input) +
                         ": out of memory");
    }
}

// The filter keeps what it could in its settings file and says nothing of
// the rest; the tool asks it afterwards what it now remembers.
void WarnOfUnkeptSettings(const TToolOptions &o, const std::string &filterPath,
                          const TPluginInventory &inventory, std::ostream &err) {
    const int chosen = o.HasParam ? inventory.FuncIndex(o.Func) : -1;
    const std::string where = "morvane: " + inventory.Settings + ": warning: ";
    for (std::size_t i = 0; i < inventory.WindowFuncs.size(); ++i)
        if (int(i) != chosen && inventory.WindowFuncs[i].HasParam && !inventory.Remembers[i])
            err << where << "the parameter of window function \"" << inventory.WindowFuncs[i].Name
                << "\" is not remembered (its name cannot be a key there)\n";
    if (chosen < 0 || !inventory.WindowFuncs[chosen].HasParam) return;
    const std::string unkept =
        where + "--param " + std::to_string(o.Param) + " for " + o.Func + " is not remembered";
    if (!inventory.Remembers[chosen]) {
        err << unkept << " (its name cannot be a key there)\n";
        return;
    }
    const TPluginInventory after = TakeInventory(filterPath);
    const TWindowFuncOffer *now = after.FindWindowFunc(o.Func);
    if (!now || now->Remembered != int16_t(o.Param))
        err << unkept << " (the settings file cannot be written)\n";
}

// Each input on its own: a failure, whatever its kind, is reported and the
// rest go on.
int ResizeBatch(const TToolOptions &o, const std::string &filterPath,
                const TPluginInventory &inventory, const TConfigRun &chosen, std::ostream &out,
                std::ostream &err, std::ostream *progress) {
    int failures = 0, done = 0;
    TProgress inputs(progress, int(o.Inputs.size()), "inputs");
    for (const std::string &input : o.Inputs) {
        // What an input reports starts on a line of its own; its lines stay.
        inputs.Clear();
        try {
            ResizeNamed(o, filterPath, inventory, chosen, input, out, err, nullptr);
        } catch (const TUsageError &e) {
            err << "morvane: " << input << ": " << e.what() << "\n";
            ++failures;
        } catch (const std::exception &e) {
            err << "morvane: " << e.what() << "\n";
            ++failures;
        }
        out.flush();
        inputs.Show(++done);
    }
    inputs.End();
    if (failures < int(o.Inputs.size())) WarnOfUnkeptSettings(o, filterPath, inventory, err);
    if (failures)
        err << "morvane: " << failures << " of " << o.Inputs.size()
            << " inputs failed; the others are written\n";
    return failures ? 1 : 0;
}

int Resize(const TToolOptions &o, const std::string &filterPath, std::ostream &out,
           std::ostream &err) {
    CheckFilterFile(filterPath);
    const TPluginInventory inventory = TakeInventory(filterPath);
    CheckLibraries(inventory);
    if (o.List) {
        PrintInventory(inventory, out);
        return 0;
    }
    // Without -k, the fastest kernel found, the same for every input.
    TToolOptions run = o;
    if (run.Kernel.empty()) {
        run.Kernel = inventory.DefaultKernel();
        run.KernelByDefault = true;
    }
    const TConfigRun chosen = CheckChoices(run, inventory);
    if (o.OutputIsFolder) {
        struct stat info;
        if (stat((platform::IncludeTrailingDelimiter(o.Output) + ".").c_str(), &info) != 0)
            throw THostError(o.Output + ": " +
                             (errno == ENOENT ? std::string("no such folder") : PathFault(errno)));
    }
    CheckOutputsAgainstInputs(o);
    // A video's frames, or a batch's inputs.
    std::ostream *const progress = isatty(fileno(stderr)) && !o.Quiet ? &err : nullptr;
    if (o.Inputs.size() == 1) {
        ResizeNamed(run, filterPath, inventory, chosen, o.Inputs.front(), out, err, progress);
        WarnOfUnkeptSettings(o, filterPath, inventory, err);
        return 0;
    }
    return ResizeBatch(run, filterPath, inventory, chosen, out, err, progress);
}

}  // namespace

int RunTool(const std::vector<std::string> &args, const std::string &defaultFilterPath,
            std::ostream &out, std::ostream &err) {
    try {
        const TToolOptions o = ParseCommandLine(args);
        if (o.Help || o.Version) {
            out << (o.Help ? HelpText() : VersionText());
            return 0;
        }
        const std::string filterPath = o.FilterPath.empty() ? defaultFilterPath : o.FilterPath;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(filterPath, ec))
            throw THostError(filterPath + ": no such file (the filter plug-in; see --filter)");
        return Resize(o, filterPath, out, err);
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
