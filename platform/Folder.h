// Listing a plug-in folder: which entries count as plug-in libraries.
#pragma once
#include <string>
#include <vector>

namespace platform {

// Names (without folder) of the plain files in `folder` whose names end in
// ".dll", in the order the system yields them. Hidden and system files and
// folders are passed over. A missing folder gives an empty list. `folder`
// may or may not end in a path delimiter.
std::vector<std::string> ListLibraries(const std::string &folder);

// True when `name` ends in ".dll" in any letter case. Windows' "*.dll" pattern
// also matches longer extensions through 8.3 short names ("a.dllx" as
// "A~1.DLL"), so both listings filter with this one rule.
bool HasLibraryExtension(const std::string &name);

}  // namespace platform
