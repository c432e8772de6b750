#include "tests/cli/CliTestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace cli_tests {

std::string FakePath(const std::string &name) { return testing_support::TestBinDir() + name; }

TFakeInstall::TFakeInstall(bool withPlugins, const std::string &filterName)
    : FFilter(FDir.CopyIn(FakePath("FakeFilter.dll"), filterName)) {
    if (!withPlugins) return;
    fs::create_directory(FDir.Path() + "DLL");
    FDir.CopyIn(FakePath("FakePlugins.dll"),
                std::string("DLL") + platform::PathDelimiter() + "FakePlugins.dll");
}

bool FileExists(const std::string &path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

}  // namespace cli_tests
