// Shared by the window-function test libraries: each appends "load <name>"
// and "unload <name>" to the file named by MORVANE_WF_LOG when the system
// loads and unloads it, so tests can see which libraries stay loaded.
#pragma once
#include <cstdio>
#include <cstdlib>

#include "abi/WindowFuncPluginInfo.h"

namespace {

void WfLogLine(const char *verb, const char *name) {
    const char *path = std::getenv("MORVANE_WF_LOG");
    if (!path || !*path) return;
    if (FILE *f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s %s\n", verb, name);
        std::fclose(f);
    }
}

class TLoadLog {
public:
    explicit TLoadLog(const char *name) : FName(name) { WfLogLine("load", FName); }
    ~TLoadLog() { WfLogLine("unload", FName); }

private:
    const char *FName;
};

// Context-free pieces for records whose functions do not matter to a test.
[[maybe_unused]] void *MV_CDECL WfCreateNothing(int32_t) { return nullptr; }
[[maybe_unused]] double MV_CDECL WfOne(double, void *) { return 1.0; }
[[maybe_unused]] int32_t MV_CDECL WfRadius2(void *) { return 2; }
[[maybe_unused]] void MV_CDECL WfDestroyNothing(void *) {}

}  // namespace
