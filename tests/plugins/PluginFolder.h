// A temporary plug-in folder stocked with window-function test libraries,
// and the log those libraries write when they are loaded and unloaded.
#pragma once
#include <string>
#include <vector>

#include "tests/support/TestPaths.h"

namespace plugins_test {

using testing_support::SetEnvironment;

class TPluginFolder {
public:
    // Copies each test library `name`.dll into a fresh folder and directs
    // the libraries' load log there (outside the folder's *.dll names).
    explicit TPluginFolder(const std::vector<std::string> &libraries) {
        for (const std::string &name : libraries)
            FDir.CopyIn(testing_support::TestBinDir() + name + ".dll", name + ".dll");
        FLog = FDir.Write("load.log", "");
        SetEnvironment("MORVANE_WF_LOG", FLog);
    }
    ~TPluginFolder() { SetEnvironment("MORVANE_WF_LOG", ""); }

    const std::string &Path() const { return FDir.Path(); }
    void Write(const std::string &name, const std::string &text) const { FDir.Write(name, text); }
    // "load wf_x" / "unload wf_x" lines so far, in order.
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        for (std::string &line : testing_support::ReadLines(FLog))
            if (!line.empty()) lines.push_back(line);
        return lines;
    }

private:
    testing_support::TempDir FDir;
    std::string FLog;
};

}  // namespace plugins_test
