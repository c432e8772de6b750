// Whole-file reading and crash-safe replacing of small settings files.
#pragma once
#include <string>

namespace platform::ini {

enum class TReadResult { Read, Absent, Failed };

// Absent when nothing is at `path`; Failed when something is there that is no
// readable regular file (a folder, no read permission), so a writer does not
// mistake it for an empty file and overwrite it.
TReadResult ReadSettingsFile(const std::string &path, std::string &text);

// Writes `text` to a new file in the same folder and renames it over `path`,
// so after a crash either the old or the new file is there, never a cut one.
// Keeps the permission bits of the file it replaces and, as Windows does,
// leaves a read-only file alone. False on any failure, with nothing left behind.
bool ReplaceSettingsFile(const std::string &path, const std::string &text);

}  // namespace platform::ini
