// Listing a plug-in folder.
#pragma once
#include <string>
#include <vector>

namespace platform {

// Names (without folder) of the plain files in `folder` whose names end in
// ".dll", in the order the system yields them. Hidden and system files and
// folders are passed over. A missing folder gives an empty list. `folder`
// may or may not end in a path delimiter.
std::vector<std::string> ListLibraries(const std::string &folder);

}  // namespace platform
