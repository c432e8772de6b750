// Path text helpers; pure string work, the same on every system.
#pragma once
#include <string>

namespace platform {

// The delimiter this system's paths use between folders.
char PathDelimiter();
bool IsPathDelimiter(char c);
std::string IncludeTrailingDelimiter(const std::string &folder);
// Folder part of a path including its trailing delimiter ("" if none).
std::string ExtractFileDir(const std::string &path);
// File name without folder and without its last extension.
std::string ExtractBaseName(const std::string &path);

}  // namespace platform
