// A temporary plug-in folder stocked with window-function test libraries,
// and the log those libraries write when they are loaded and unloaded.
#pragma once
#include <string>
#include <vector>

#include "tests/support/TestLog.h"
#include "tests/support/TestPaths.h"

namespace plugins_test {

class TPluginFolder {
public:
    // Copies each test library `name`.dll into a fresh folder.
    explicit TPluginFolder(const std::vector<std::string> &libraries) {
        for (const std::string &name : libraries)
            FDir.CopyIn(testing_support::TestBinDir() + name + ".dll", name + ".dll");
    }

    const std::string &Path() const { return FDir.Path(); }
    void Write(const std::string &name, const std::string &text) const { FDir.Write(name, text); }
    // "load wf_x" / "unload wf_x" lines so far, in order.
    std::vector<std::string> LogLines() const { return FLog.Lines(); }

private:
    testing_support::TempDir FDir;
    test_log::TLogFile FLog;
};

}  // namespace plugins_test
