#include "platform/Profile.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace platform {

std::string ReadIniString(const std::string &file, const std::string &section,
                          const std::string &key, const std::string &fallback,
                          std::size_t bufferSize, TIniReads &) {
    if (bufferSize == 0) return "";
    const DWORD size = bufferSize > 0x7FFFFFFF ? 0x7FFFFFFF : DWORD(bufferSize);
    std::vector<char> buffer(size, '\0');
    GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(), size,
                             file.c_str());
    return std::string(buffer.data(), strnlen(buffer.data(), size - 1));
}

bool WriteIniString(const std::string &file, const std::string &section, const std::string &key,
                    const std::string &value, TIniReads &) {
    if (!IsStorableIniKey(key)) return false;
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
           FALSE;
}

}  // namespace platform
