// Names compared as the host's system compares them in its code page, CP932.
#pragma once
#include <string>

namespace platform {

// Equal but for ASCII letter case. The trail byte of a double-byte character
// may look like a letter ("ア" is 83 41, "ヂ" 83 61) and is compared exactly.
bool SameText(const std::string &a, const std::string &b);

}  // namespace platform
