#include "tests/support/TestPaths.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/Library.h"
#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace testing_support {

std::string TestBinDir() {
    static int anchor;
    return platform::ExtractFileDir(platform::ModulePathOf(&anchor));
}

std::string DistDir() {
    const char d = platform::PathDelimiter();
    return TestBinDir() + ".." + d + "dist" + d;
}

std::string PluginDir() { return DistDir() + "DLL" + platform::PathDelimiter(); }

std::string PluginPath(const std::string &fileName) { return PluginDir() + fileName; }

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path p = fs::temp_directory_path() /
                 ("morvane-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(p);
    FPath = platform::IncludeTrailingDelimiter(p.string());
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(fs::path(FPath), ec);
}

std::string TempDir::CopyIn(const std::string &source, const std::string &name) const {
    const std::string target = FPath + name;
    fs::copy_file(fs::path(source), fs::path(target), fs::copy_options::overwrite_existing);
    return target;
}

std::string TempDir::Write(const std::string &name, const std::string &text) const {
    const std::string target = FPath + name;
    std::ofstream out(target, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + target);
    return target;
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> FolderEntries(const std::string &folder) {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(fs::path(folder)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ReadLines(const std::string &path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void SetEnvironment(const char *name, const std::string &value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

}  // namespace testing_support
