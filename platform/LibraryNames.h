// Which directory entries count as plug-in libraries.
#pragma once
#include <string>

namespace platform {

// True when `name` ends in ".dll" in any letter case. Windows' "*.dll" pattern
// also matches longer extensions through 8.3 short names ("a.dllx" as
// "A~1.DLL"), so both listings filter with this one rule.
bool HasLibraryExtension(const std::string &name);

}  // namespace platform
