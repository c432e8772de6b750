// INI settings files, with the semantics of the Win32 profile-string functions.
// (Not named GetProfileString/WriteProfileString: <windows.h> defines those as
// macros for the win.ini functions and would rewrite these names.)
#pragma once
#include <cstddef>
#include <string>

namespace platform {

// Value of `key` in `section` (names compared without regard to case), cut to
// bufferSize - 1 bytes; `fallback` when the file, section or key is absent.
// A present key with an empty value gives "".
std::string ReadIniString(const std::string &file, const std::string &section,
                          const std::string &key, const std::string &fallback,
                          std::size_t bufferSize);

// A key name that reading can find again: not blank, no "=" (which would end
// the name), no line break, not a "[section]" line.
inline bool IsStorableIniKey(const std::string &key) {
    const std::size_t first = key.find_first_not_of(" \t\v\f\x1A");
    return first != std::string::npos && key[first] != '[' && key.find_first_of("=\r\n") == std::string::npos;
}

// Writes one key, creating the file and section when missing and leaving every
// other line as it was. False when the file cannot be written or the key is
// not storable. On POSIX a symbolic link is written at its target, and a key
// this process read and writes back unchanged is left as another process has
// since written it.
bool WriteIniString(const std::string &file, const std::string &section,
                    const std::string &key, const std::string &value);

}  // namespace platform
