// Shared by the stand-in host's and the tool's tests: where the fakes are.
#pragma once
#include <string>
#include <vector>

#include "tests/support/TestPaths.h"

namespace cli_tests {

// Full path of a test library built beside the test programs.
std::string FakePath(const std::string &name);

// A folder laid out like an installation: the fake filter as `filterName`
// and, unless `withPlugins` is false, FakePlugins.dll in DLL/.
class TFakeInstall {
public:
    explicit TFakeInstall(bool withPlugins = true, const std::string &filterName = "Morvane.auf");
    const std::string &Root() const { return FDir.Path(); }
    const std::string &Filter() const { return FFilter; }

private:
    testing_support::TempDir FDir;
    std::string FFilter;
};

bool FileExists(const std::string &path);

}  // namespace cli_tests
