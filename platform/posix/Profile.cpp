#include "platform/Profile.h"

#include "platform/posix/IniDocument.h"
#include "platform/posix/IniText.h"
#include "platform/posix/SettingsFile.h"

namespace platform {

std::string ReadIniString(const std::string &file, const std::string &section,
                          const std::string &key, const std::string &fallback,
                          std::size_t bufferSize) {
    if (bufferSize == 0) return "";
    // Windows drops trailing blanks of the default, and an empty key name finds nothing.
    std::string value = fallback.substr(0, fallback.find_last_not_of(' ') + 1);
    std::string text;
    if (!ini::TrimBlanks(key).empty() &&
        ini::ReadSettingsFile(file, text) == ini::TReadResult::Read) {
        if (const auto found = ini::TIniDocument(text).Find(section, key))
            value = ini::Unquote(*found);
    }
    if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
}

bool WriteIniString(const std::string &file, const std::string &section,
                    const std::string &key, const std::string &value) {
    std::string text;
    if (ini::ReadSettingsFile(file, text) == ini::TReadResult::Failed) return false;
    ini::TIniDocument document(text);
    if (!document.Set(section, key, value)) return true;
    return ini::ReplaceSettingsFile(file, document.Text());
}

}  // namespace platform
