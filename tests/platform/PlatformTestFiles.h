// Folder and file set-ups for the platform tests, the same on every system.
#pragma once
#include <string>
#include <vector>

#include "tests/support/TestPaths.h"

namespace platform_tests {

// An empty file ending in ".dll" that the system's listing treats as hidden
// (the hidden attribute on Windows, a leading dot elsewhere); returns its name.
std::string CreateHiddenLibraryFile(const testing_support::TempDir &dir);
// Windows: an empty "*.dll" file with the system attribute; elsewhere there is
// no such attribute and nothing is created ("").
std::string CreateSystemLibraryFile(const testing_support::TempDir &dir);

// Sets or clears the read-only mark of a file. Setting it gives false where
// the system would not enforce it (root on POSIX ignores permission bits).
bool SetReadOnly(const std::string &path, bool readOnly);

void CreateFolder(const std::string &path);
// Lines of `text` without their CRLF or LF ends, blank lines left out.
std::vector<std::string> NonBlankLines(const std::string &text);

}  // namespace platform_tests
