// Text rules of INI files as the Win32 profile functions apply them.
#pragma once
#include <string>

namespace platform::ini {

// What the profile functions drop around names and values (IsProfileBlank).
std::string TrimBlanks(const std::string &text);
std::string TrimLeadingBlanks(const std::string &text);

// One pair of enclosing double or single quotes removed, if present.
std::string Unquote(const std::string &value);

}  // namespace platform::ini
