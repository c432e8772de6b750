// A throwaway installation of the built filter: Morvane.auf (under any name)
// with its plug-in folder, as the editor's plug-in folder holds them.
#pragma once
#include <filesystem>
#include <string>

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "tests/support/TestPaths.h"

namespace host_test {

class TInstallation {
public:
    // Copies Morvane.auf in as `fileName`.
    std::string AddFilter(const std::string &fileName = "Morvane.auf") const {
        return AddFilterFrom(testing_support::DistDir() + "Morvane.auf", fileName);
    }
    // Copies another build of the filter in as `fileName`.
    std::string AddFilterFrom(const std::string &source, const std::string &fileName) const {
        return FDir.CopyIn(source, fileName);
    }
    // Copies the kernel and window-function libraries into `folder` below the
    // installation ("" = beside the filter).
    void AddPlugins(const std::string &folder = "DLL", bool windowFuncs = true) const {
        const std::string dir = folder.empty() ? FDir.Path() : FDir.Path() + folder;
        std::filesystem::create_directories(dir);
        const std::string to = platform::IncludeTrailingDelimiter(dir);
        Copy("Tessolk.dll", to);
        if (windowFuncs) Copy("WindowFuncs.dll", to);
    }
    std::string Path() const { return FDir.Path(); }
    std::string IniPath() const { return FDir.Path() + "Morvane.ini"; }
    void WriteIni(const std::string &text) const { FDir.Write("Morvane.ini", text); }
    // A key of the settings file; "<absent>" when it is not there.
    std::string Key(const std::string &section, const std::string &key) const {
        return platform::ReadIniString(IniPath(), section, key, "<absent>", 1 << 20);
    }

private:
    static void Copy(const std::string &name, const std::string &to) {
        std::filesystem::copy_file(testing_support::PluginPath(name), to + name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    testing_support::TempDir FDir;
};

}  // namespace host_test
