#include "platform/Profile.h"

#include "platform/FileReplacement.h"

#include "platform/posix/IniDocument.h"
#include "platform/posix/IniText.h"
#include "platform/posix/SettingsFile.h"

namespace platform {

std::string ReadIniString(const std::string &file, const std::string &section,
                          const std::string &key, const std::string &fallback,
                          std::size_t bufferSize, TIniReads &reads) {
    if (bufferSize == 0) return "";
    // Windows drops trailing blanks of the default, and an empty key name finds nothing.
    std::string value = fallback.substr(0, fallback.find_last_not_of(' ') + 1);
    std::string text;
    bool found = false;
    if (!ini::TrimBlanks(key).empty() &&
        ini::ReadSettingsFile(file, text) == ini::TReadResult::Read) {
        if (const auto stored = ini::TIniDocument(text).Find(section, key)) {
            value = ini::Unquote(*stored);
            found = true;
        }
    }
    // The whole value is noted: writing back a cut one is a change.
    ini::NoteValueRead(reads, section, key, value, found);
    if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
}

bool WriteIniString(const std::string &file, const std::string &section, const std::string &key,
                    const std::string &value, TIniReads &reads) {
    if (!IsStorableIniKey(key)) return false;
    std::string target;
    if (FollowLinks(file, target) != 0) return false;
    // Another run may have written the file since this one read it: it is
    // read again under the lock, and only this run's own change goes in.
    const ini::TSettingsLock lock(target);
    std::string text;
    if (!lock.Held() || ini::ReadSettingsFile(target, text) == ini::TReadResult::Failed)
        return false;
    ini::TIniDocument document(text);
    const std::optional<std::string> stored = document.Find(section, key);
    if (ini::IsStaleWrite(reads, section, key, value,
                          stored ? std::optional(ini::Unquote(*stored)) : std::nullopt))
        return true;
    if (document.Set(section, key, value) && !ini::ReplaceSettingsFile(target, document.Text()))
        return false;
    ini::NoteValueRead(reads, section, key, ini::Unquote(ini::TrimBlanks(value)), true);
    return true;
}

}  // namespace platform
