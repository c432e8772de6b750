// Whole-file reading and crash-safe replacing of small settings files, shared
// by runs that may overlap.
#pragma once
#include <optional>
#include <string>

#include "platform/Profile.h"

namespace platform::ini {

enum class TReadResult { Read, Absent, Failed };

// Absent when nothing is at `path`; Failed when something is there that is no
// readable regular file (a folder, no read permission), so a writer does not
// mistake it for an empty file and overwrite it.
TReadResult ReadSettingsFile(const std::string &path, std::string &text);

// Writes `text` to a new file in the same folder and renames it over `path`,
// so after a crash either the old or the new file is there, never a cut one.
// `path` names the file itself, not a link to it. Keeps the permission bits
// of the file it replaces and, as Windows does, leaves a read-only file
// alone. False on any failure, with nothing left behind.
bool ReplaceSettingsFile(const std::string &path, const std::string &text);

// Overlapping runs take turns at reading and replacing a settings file: an
// advisory lock (flock) on the folder that holds it, the folder because
// replacing puts a new file, and so a new lock target, in its place. Waits
// a while for another holder, then gives up: Held() is false.
class TSettingsLock {
public:
    explicit TSettingsLock(const std::string &file);
    ~TSettingsLock();
    TSettingsLock(const TSettingsLock &) = delete;
    TSettingsLock &operator=(const TSettingsLock &) = delete;
    bool Held() const { return FFolder >= 0; }

private:
    int FFolder = -1;
};

// What this run read for a key, so that writing it back unchanged does not
// undo what another process wrote since. `found`: the key was in the file.
void NoteValueRead(TIniReads &reads, const std::string &section, const std::string &key,
                   const std::string &value, bool found);
// True when writing `value` would only put back what this run read, while
// the file (`now`: its value there) holds another process's newer one.
bool IsStaleWrite(const TIniReads &reads, const std::string &section, const std::string &key,
                  const std::string &value, const std::optional<std::string> &now);

}  // namespace platform::ini
