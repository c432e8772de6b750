// Names compared as the host's system compares them in its code page, CP932.
#pragma once
#include <string>

namespace platform {

// Equal but for letter case, as the system folds it in CP932: on Windows the
// system's own comparison in the Japanese locale; elsewhere ASCII and the
// double-byte full-width Latin, Greek and Cyrillic letters. Width is not
// folded. The trail byte of a double-byte character may look like a letter
// ("ア" is 83 41, "ヂ" 83 61) and is never folded on its own.
bool SameText(const std::string &a, const std::string &b);

}  // namespace platform
