#include "cli/Progress.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "cli/Y4mStream.h"

std::string ProgressText(int done, int total, double seconds, const std::string &unit) {
    const double rate = seconds > 0 ? done / seconds : 0.0;
    char line[160];
    if (total <= 0 || done > total) {
        std::snprintf(line, sizeof line, "morvane: %d %s, %.1f %s/s", done, unit.c_str(), rate,
                      unit.c_str());
        return line;
    }
    const double left = rate > 0 ? (total - done) / rate : 0.0;
    std::snprintf(line, sizeof line, "morvane: %d/%d %s (%.1f%%), %.1f %s/s, %.1f s left", done,
                  total, unit.c_str(), 100.0 * done / total, rate, unit.c_str(), left);
    return line;
}

TProgress::TProgress(std::ostream *out, int total, std::string unit)
    : FOut(out), FTotal(total), FUnit(std::move(unit)) {}

void TProgress::Show(int done) {
    if (!FOut) return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - FStart).count();
    // Erased to the line's end: the line may grow shorter as the time left does.
    *FOut << "\r" << ProgressText(done, FTotal, seconds, FUnit) << "\033[K" << std::flush;
    FShown = true;
}

void TProgress::Clear() {
    if (!FOut || !FShown) return;
    *FOut << "\r\033[K" << std::flush;
    FShown = false;
}

void TProgress::End() {
    if (!FOut || !FShown) return;
    *FOut << "\n" << std::flush;
    FShown = false;
}

int StreamFrameCount(int64_t fileBytes, int64_t headerBytes, int64_t frameBytes) {
    const int64_t each = int64_t(std::strlen(kY4mFrameLine)) + frameBytes;
    const int64_t rest = fileBytes - headerBytes;
    return rest > 0 ? int(rest / each) : 0;
}
