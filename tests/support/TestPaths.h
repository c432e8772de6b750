// Where the tests find the built plug-ins, and scratch folders for them.
#pragma once
#include <string>
#include <vector>

namespace testing_support {

// The installation folder of this build (holds Morvane.auf), with delimiter.
std::string DistDir();
// Its plug-in folder DLL/, with delimiter.
std::string PluginDir();
// Full path of a built plug-in library in DLL/ ("Tessolk.dll", ...).
std::string PluginPath(const std::string &fileName);
// Folder of the test programs and the test-only libraries, with delimiter.
std::string TestBinDir();

// A fresh empty folder, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    // With a trailing delimiter.
    const std::string &Path() const { return FPath; }
    // Copies a file into the folder under `name`; returns the new full path.
    std::string CopyIn(const std::string &source, const std::string &name) const;
    // Writes `text` to a file `name` in the folder; returns its full path.
    std::string Write(const std::string &name, const std::string &text) const;

private:
    std::string FPath;
};

std::string ReadFile(const std::string &path);
// Names in `folder` (no paths), sorted.
std::vector<std::string> FolderEntries(const std::string &folder);
// The file's lines without their line ends; none when it is missing.
std::vector<std::string> ReadLines(const std::string &path);
// Sets a variable of this process's environment, which the libraries it
// loads read too.
void SetEnvironment(const char *name, const std::string &value);

}  // namespace testing_support
