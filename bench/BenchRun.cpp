#include "bench/BenchRun.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/Library.h"
#include "platform/Paths.h"

namespace bench {

std::string FilterBesideBench() {
    static const int anchor = 0;
    const std::string binDir = platform::ExtractFileDir(platform::ModulePathOf(&anchor));
    const char d = platform::PathDelimiter();
    return binDir + ".." + d + "dist" + d + "Morvane.auf";
}

std::string Load() {
    double load[3] = {};
    if (getloadavg(load, 3) != 3) return "unknown";
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %.2f %.2f", load[0], load[1], load[2]);
    return text;
}

int RunReportingFaults(const char *program, int (*run)()) {
    try {
        return run();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s: %s\n", program, e.what());
        return 1;
    }
}

}  // namespace bench
