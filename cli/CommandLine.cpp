#include "cli/CommandLine.h"

#include <charconv>
#include <cstdint>

#include "cli/PpmFile.h"

namespace {

constexpr std::size_t kNameBytes = 32;  // a name field of the saved block

bool ParseInt(const std::string &text, long long low, long long high, int &value) {
    long long v = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || text.empty() || v < low || v > high) return false;
    value = int(v);
    return true;
}

// Walks the arguments; options take their value as "--opt value" or "--opt=value".
class TArgReader {
public:
    explicit TArgReader(const std::vector<std::string> &args) : FArgs(args) {}
    bool Done() const { return FIndex >= FArgs.size(); }
    // The next argument; for "--opt=value" only "--opt", keeping the value.
    std::string Next() {
        std::string arg = FArgs[FIndex++];
        const std::size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            FPending = arg.substr(eq + 1);
            FHasPending = true;
            arg.resize(eq);
        }
        return arg;
    }
    std::string Value(const std::string &option) {
        if (FHasPending) {
            FHasPending = false;
            return FPending;
        }
        if (Done()) throw TUsageError(option + ": a value is missing");
        return FArgs[FIndex++];
    }
    void NoValue(const std::string &option) const {
        if (FHasPending) throw TUsageError(option + ": takes no value");
    }

private:
    const std::vector<std::string> &FArgs;
    std::size_t FIndex = 0;
    std::string FPending;
    bool FHasPending = false;
};

void SizeOption(TArgReader &reader, const std::string &option, int &width, int &height) {
    const std::string value = reader.Value(option);
    if (!ParseSize(value, kPpmMaxSide, width, height))
        throw TUsageError(option + ": expected a size such as 1280x720 (1 to " +
                          std::to_string(kPpmMaxSide) + " per side), got \"" + value + "\"");
}

void IntOption(TArgReader &reader, const std::string &option, long long low, long long high,
               int &value) {
    const std::string text = reader.Value(option);
    if (!ParseInt(text, low, high, value))
        throw TUsageError(option + ": expected a whole number from " + std::to_string(low) +
                          " to " + std::to_string(high) + ", got \"" + text + "\"");
}

void NameOption(TArgReader &reader, const std::string &option, std::string &name) {
    name = reader.Value(option);
    if (name.size() > kNameBytes)
        throw TUsageError(option + ": \"" + name + "\" is longer than 32 bytes");
}

void ReadOption(TArgReader &reader, const std::string &arg, TToolOptions &o) {
    if (arg == "-s" || arg == "--size") return SizeOption(reader, arg, o.Width, o.Height);
    if (arg == "-f" || arg == "--func") return NameOption(reader, arg, o.Func);
    if (arg == "-k" || arg == "--kernel") return NameOption(reader, arg, o.Kernel);
    if (arg == "-p" || arg == "--param") {
        o.HasParam = true;
        return IntOption(reader, arg, INT16_MIN, INT16_MAX, o.Param);
    }
    if (arg == "-t" || arg == "--threads") return IntOption(reader, arg, 1, 256, o.Threads);
    if (arg == "--frames") return IntOption(reader, arg, 1, 1000, o.Frames);
    if (arg == "--pattern") return SizeOption(reader, arg, o.PatternWidth, o.PatternHeight);
    if (arg == "--max") return SizeOption(reader, arg, o.MaxWidth, o.MaxHeight);
    if (arg == "--filter") {
        o.FilterPath = reader.Value(arg);
        return;
    }
    reader.NoValue(arg);
    if (arg == "-h" || arg == "--help") o.Help = true;
    else if (arg == "--list") o.List = true;
    else throw TUsageError(arg + ": unknown option");
}

}  // namespace

bool ParseSize(const std::string &text, int max, int &width, int &height) {
    const std::size_t x = text.find('x');
    return x != std::string::npos && ParseInt(text.substr(0, x), 1, max, width) &&
           ParseInt(text.substr(x + 1), 1, max, height);
}

TToolOptions ParseCommandLine(const std::vector<std::string> &args) {
    TToolOptions o;
    std::vector<std::string> positional;
    TArgReader reader(args);
    while (!reader.Done()) {
        const std::string arg = reader.Next();
        if (arg.size() > 1 && arg[0] == '-')
            ReadOption(reader, arg, o);
        else
            positional.push_back(arg);
    }
    if (o.Help || o.List) return o;
    if (positional.size() != 2)
        throw TUsageError("expected INPUT and OUTPUT, got " + std::to_string(positional.size()) +
                          (positional.size() == 1 ? " file name" : " file names"));
    if (o.Width == 0) throw TUsageError("--size: the target size is missing");
    o.Input = positional[0];
    o.Output = positional[1];
    return o;
}

std::string HelpText() {
    return R"(Usage: morvane [options] -s WxH INPUT OUTPUT
       morvane [--filter FILE] --list

Resizes a picture through the Morvane filter plug-in (Morvane.auf), driving
it as the video editor does: the options below are restored into the
filter's saved configuration, then the picture passes through it as a
frame. INPUT is a binary PPM file (P6, 8-bit) or "builtin" for the built-in
test image; OUTPUT is the PPM file to write.

  -s, --size WxH      target size, e.g. 1280x720 (required)
  -f, --func NAME     window function, e.g. Spline16, Spline36, Lanczos, or
                      AreaAverage for the built-in area average
                      (default Spline16)
  -p, --param N       the window function's parameter (default: the value
                      the filter remembers for that function)
  -k, --kernel NAME   kernel plug-in: SSE or AVX (default: the first found)
  -t, --threads N     the editor's worker threads (default: one per processor)
      --filter FILE   the filter plug-in to load (default: Morvane.auf
                      beside this program)
      --pattern WxH   size of the built-in test image (default 1920x1080)
      --frames N      frames to pass through for the timing (default 4)
      --max WxH       the editor's largest frame (default: the larger of the
                      input and the target size in each direction)
      --list          list the window functions and kernels the filter's
                      plug-in folder offers, then stop
  -h, --help          this text

Reports the sizes, the function, the kernel and the time per frame. On an
error it prints one line naming the file and the fault, exits non-zero and
leaves no output file behind.
)";
}
