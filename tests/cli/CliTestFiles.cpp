#include "tests/cli/CliTestFiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace cli_tests {

namespace {

void SetLogVariable(const std::string &value) {
    testing_support::SetEnvironment("MORVANE_FAKE_FILTER_LOG", value);
}

}  // namespace

std::string FakePath(const std::string &name) { return testing_support::TestBinDir() + name; }

TFakeLog::TFakeLog() : FPath(FDir.Path() + "events.log") { SetLogVariable(FPath); }

TFakeLog::~TFakeLog() { SetLogVariable(""); }

std::vector<std::string> TFakeLog::Lines() const { return testing_support::ReadLines(FPath); }

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

std::vector<std::string> FolderEntries(const std::string &folder) {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace cli_tests
