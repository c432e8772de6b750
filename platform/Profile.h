// INI settings files, with the semantics of the Win32 profile-string functions.
// (Not named GetProfileString/WriteProfileString: <windows.h> defines those as
// macros for the win.ini functions and would rewrite these names.)
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// What one run read of a settings file, so that writing a value back
// unchanged leaves alone what another run wrote since. Kept on POSIX; the
// system's profile functions on Windows need none.
struct TIniReads {
    struct TValue {
        std::string section, key, value;
        bool found;  // the key was in the file
    };
    std::vector<TValue> Values;
};

// Value of `key` in `section` (names compared without regard to case), cut to
// bufferSize - 1 bytes; `fallback` when the file, section or key is absent.
// A present key with an empty value gives "". The whole value goes to `reads`.
std::string ReadIniString(const std::string &file, const std::string &section,
                          const std::string &key, const std::string &fallback,
                          std::size_t bufferSize, TIniReads &reads);

// A key name that reading can find again: not blank, no "=" (which would end
// the name), no line break, not a "[section]" line.
inline bool IsStorableIniKey(const std::string &key) {
    const std::size_t first = key.find_first_not_of(" \t\v\f\x1A");
    return first != std::string::npos && key[first] != '[' &&
           key.find_first_of("=\r\n") == std::string::npos;
}

// Writes one key, creating the file and section when missing and leaving every
// other line as it was. False when the file cannot be written or the key is
// not storable. On POSIX a symbolic link is written at its target, and a key
// `reads` holds and that is written back unchanged is left as another process
// has since written it.
bool WriteIniString(const std::string &file, const std::string &section, const std::string &key,
                    const std::string &value, TIniReads &reads);

// A read or a write that remembers nothing.
inline std::string ReadIniString(const std::string &file, const std::string &section,
                                 const std::string &key, const std::string &fallback,
                                 std::size_t bufferSize) {
    TIniReads none;
    return ReadIniString(file, section, key, fallback, bufferSize, none);
}
inline bool WriteIniString(const std::string &file, const std::string &section,
                           const std::string &key, const std::string &value) {
    TIniReads none;
    return WriteIniString(file, section, key, value, none);
}

}  // namespace platform
