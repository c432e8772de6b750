#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <filesystem>
#include <string>

#include "plugins/PluginName.h"
#include "plugins/ConfigResolver.h"

namespace {

const char *const kVersion = "morvane 1.0";

// One line per kind, each said once; a build without a library says so.
std::string FormatsText() {
    std::string text = "Formats by extension:\n";
#ifdef MORVANE_HAVE_PNG
    text += "  .png   8 or 16 bits, grey or RGB; palettes expanded, alpha dropped\n";
#endif
#ifdef MORVANE_HAVE_JPEG
    text +=
        "  .jpg, .jpeg  8 bits, grey or colour, baseline or progressive; turned\n"
        "         upright as its EXIF orientation says; written at --quality\n";
#endif
    text +=
        "  .ppm   binary P6, 8 bits\n"
        "  .y4m, or - for a YUV4MPEG2 stream on standard input or output: 4:4:4,\n"
        "         4:2:2, 4:2:0, mono; 8 to 16 bits\n"
        "A picture's ICC colour profile goes into a PNG or JPEG output.\n";
#ifndef MORVANE_HAVE_PNG
    text += "PNG is not available in this build (it was made without libpng).\n";
#endif
#ifndef MORVANE_HAVE_JPEG
    text += "JPEG is not available in this build (it was made without libjpeg).\n";
#endif
    return text;
}

// CLI11's validators return "" or the fault.
CLI::Validator SizeCheck(bool partial) {
    return CLI::Validator(
        [partial](std::string &text) -> std::string {
            int w, h;
            if (ParseSizeWithin(text, partial, kMaxFrameWidth, kMaxFrameHeight, w, h)) return "";
            return std::string("expected a size such as 1280x720") +
                   (partial ? ", 1280x or x720" : "") + " (up to " + LargestFrameText() +
                   "), got \"" + text + "\"";
        },
        partial ? "WxH|Wx|xH" : "WxH");
}

const CLI::Validator NameCheck(
    [](std::string &text) -> std::string {
        return text.size() > PluginNameBytes
                   ? "\"" + text + "\" is longer than " + std::to_string(PluginNameBytes) + " bytes"
                   : "";
    },
    "NAME");

void ReadSize(const std::string &text, int &width, int &height) {
    ParseSizeWithin(text, true, kMaxFrameWidth, kMaxFrameHeight, width, height);
}

std::string Describe(CLI::App &app) {
    app.description(
        "morvane [options] -s SIZE INPUT OUTPUT, or INPUT... -o OUTDIR, or --list\n\n"
        "Resizes pictures and video through the Morvane filter plug-in (Morvane.auf),\n"
        "driving it as the video editor does: the options below are restored into\n"
        "the filter's saved configuration, then each picture or video frame passes\n"
        "through it. INPUT may also be \"builtin\" for the built-in test image.\n");
    std::string footer = FormatsText();
    footer += "Largest frame: " + LargestFrameText() +
              " (input and target). Video is read and written frame by frame;\n"
              "its chroma is brought to 4:4:4 before the filter and back after it.\n"
              "Exit status: 0 done, 1 a file, stream or plug-in fault, 2 a bad command line.\n";
    return footer;
}

// What the command line holds before it is checked as a whole.
struct TRawValues {
    std::string Size, Fit, Pattern, MaxFrame, OutDir;
    std::vector<std::string> Files;
    CLI::Option *Param = nullptr;
};

// Every option, once: parsing, checking and --help come from here.
void DefineOptions(CLI::App &app, TToolOptions &o, TRawValues &raw) {
    app.footer(Describe(app));
    app.set_help_flag("-h,--help", "this text");
    app.set_version_flag("--version", kVersion, "the tool's version");
    CLI::Option *sizeOption =
        app.add_option(
               "-s,--size", raw.Size,
               "target size: WxH, or Wx / xH with the other side following the input's aspect ratio")
            ->check(SizeCheck(true));
    app.add_option("--fit", raw.Fit,
                   "the largest size inside the box WxH that keeps the input's aspect ratio")
        ->check(SizeCheck(false))
        ->excludes(sizeOption);
    app.add_flag("--even", o.Size.Even,
                 "round a side that follows the aspect ratio to even (for 4:2:0 video)");
    app.add_option("-o,--outdir", raw.OutDir,
                   "write each result into this folder under its input's name");
    app.add_option("-f,--func", o.Func,
                   "window function, e.g. Spline16, Spline36, Lanczos, or " +
                       std::string(AreaAverageName) + " for the built-in area average (default " +
                       TToolOptions().Func + ")")
        ->check(NameCheck);
    raw.Param =
        app.add_option("-p,--param", o.Param,
                       "the window function's parameter (default: the value the filter remembers)")
            ->check(CLI::Range(int(INT16_MIN), int(INT16_MAX)));
    app.add_option("-k,--kernel", o.Kernel,
                   "kernel plug-in: SSE, AVX, SSE-HQ or AVX-HQ (default: the fastest this "
                   "processor runs, SSE or AVX)")
        ->check(NameCheck);
    app.add_option("-t,--threads", o.Threads,
                   "the editor's worker threads (default: one per processor)")
        ->check(CLI::Range(1, 256));
    app.add_option("--filter", o.FilterPath,
                   "the filter plug-in to load (default: Morvane.auf beside this program)");
    app.add_option("--pattern", raw.Pattern, "size of the built-in test image (default 1920x1080)")
        ->check(SizeCheck(false));
    app.add_option("--frames", o.Frames,
                   "times a picture passes through, for the timing (default 1)")
        ->check(CLI::Range(1, 1000));
    app.add_option(
           "--max", raw.MaxFrame,
           "the editor's largest frame (default: from the input and target sizes, width a multiple of 8)")
        ->check(SizeCheck(false));
    app.add_option("--quality", o.Quality, "JPEG output's quality, 1 to 100 (default 90)")
        ->check(CLI::Range(1, 100));
    app.add_flag("--list", o.List,
                 "list the window functions and kernels the plug-in folder offers, then stop");
    app.add_flag("-q,--quiet", o.Quiet, "no progress and no report, only warnings and faults");
    app.add_option("files", raw.Files, "INPUT... OUTPUT, or INPUT... with -o OUTDIR");
}

// The inputs, and the output file or folder they go to.
void SetFiles(TToolOptions &o, std::vector<std::string> files, const std::string &outDir) {
    if (!outDir.empty()) {
        if (files.empty()) throw TUsageError("expected at least one INPUT before -o " + outDir);
        o.Inputs = files;
        o.Output = outDir;
        o.OutputIsFolder = true;
        return;
    }
    if (files.size() < 2)
        throw TUsageError("expected INPUT and OUTPUT, got " + std::to_string(files.size()) +
                          (files.size() == 1 ? " file name" : " file names"));
    o.Output = files.back();
    files.pop_back();
    o.Inputs = files;
    if (o.Inputs.size() > 1) {
        std::error_code ec;
        if (!std::filesystem::is_directory(o.Output, ec))
            throw TUsageError(
                "several inputs need -o OUTDIR or an existing folder as OUTPUT, not \"" + o.Output +
                "\"");
        o.OutputIsFolder = true;
    }
}

}  // namespace

TToolOptions ParseCommandLine(const std::vector<std::string> &args) {
    TToolOptions o;
    TRawValues raw;
    CLI::App app("", "morvane");
    DefineOptions(app, o, raw);
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp &) {
        o.Help = true;
        return o;
    } catch (const CLI::CallForVersion &) {
        o.Version = true;
        return o;
    } catch (const CLI::ParseError &e) {
        throw TUsageError(e.what());
    }
    o.HasParam = raw.Param->count() > 0;
    if (!raw.Pattern.empty()) ReadSize(raw.Pattern, o.PatternWidth, o.PatternHeight);
    if (!raw.MaxFrame.empty()) ReadSize(raw.MaxFrame, o.MaxWidth, o.MaxHeight);
    if (o.List) return o;
    if (!raw.Size.empty()) ReadSize(raw.Size, o.Size.Width, o.Size.Height);
    if (!raw.Fit.empty()) {
        ReadSize(raw.Fit, o.Size.Width, o.Size.Height);
        o.Size.Fit = true;
    }
    if (!o.Size.Given()) throw TUsageError("--size: the target size is missing (or give --fit)");
    SetFiles(o, raw.Files, raw.OutDir);
    return o;
}

std::string HelpText() {
    TToolOptions o;
    TRawValues raw;
    CLI::App app("", "morvane");
    DefineOptions(app, o, raw);
    return app.help();
}

std::string VersionText() { return std::string(kVersion) + "\n"; }
