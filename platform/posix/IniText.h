// Text rules of INI files as the Win32 profile functions apply them.
#pragma once
#include <string>

namespace platform::ini {

// White space and Ctrl-Z (an old end-of-file mark), which the profile
// functions drop around names and values.
bool IsBlank(char c);
std::string TrimBlanks(const std::string &text);
std::string TrimLeadingBlanks(const std::string &text);

// Section and key names compared without regard to ASCII letter case. The
// text is CP932: the trail byte of a double-byte character may look like an
// ASCII letter ("ア" is 83 41, "ヂ" 83 61) and is compared exactly.
bool SameName(const std::string &a, const std::string &b);

// One pair of enclosing double or single quotes removed, if present.
std::string Unquote(const std::string &value);

}  // namespace platform::ini
