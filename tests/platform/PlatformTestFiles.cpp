#include "tests/platform/PlatformTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace platform_tests {

#ifdef _WIN32
namespace {

bool SetReadOnlyMark(const std::string &path, bool readOnly) {
    const DWORD attribute = readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesA(path.c_str(), attribute);
}

std::string CreateWithAttribute(const testing_support::TempDir &dir, const std::string &name,
                                DWORD attribute) {
    const std::string path = dir.Write(name, "");
    EXPECT_TRUE(SetFileAttributesA(path.c_str(), attribute)) << path;
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & attribute) << path;
    return name;
}

}  // namespace

std::string CreateHiddenLibraryFile(const testing_support::TempDir &dir) {
    return CreateWithAttribute(dir, "hidden.dll", FILE_ATTRIBUTE_HIDDEN);
}

std::string CreateSystemLibraryFile(const testing_support::TempDir &dir) {
    return CreateWithAttribute(dir, "system.dll", FILE_ATTRIBUTE_SYSTEM);
}
#else
namespace {

bool SetReadOnlyMark(const std::string &path, bool readOnly) {
    return chmod(path.c_str(), readOnly ? 0444 : 0644) == 0;
}

}  // namespace

std::string CreateHiddenLibraryFile(const testing_support::TempDir &dir) {
    dir.Write(".hidden.dll", "");
    return ".hidden.dll";
}

std::string CreateSystemLibraryFile(const testing_support::TempDir &) { return ""; }
#endif

bool SetReadOnly(const std::string &path, bool readOnly) {
    if (!SetReadOnlyMark(path, readOnly)) return false;
    if (!readOnly) return true;
    // Root, and wine run by root, may open read-only files for writing anyway.
    std::FILE *file = std::fopen(path.c_str(), "r+");
    if (file) std::fclose(file);
    return file == nullptr;
}

void CreateFolder(const std::string &path) { fs::create_directory(fs::path(path)); }

std::vector<std::string> NonBlankLines(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace platform_tests
