// Names compared as the host's system compares them in its code page, CP932.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Equal but for letter case, as the system folds it in CP932: on Windows the
// system's own comparison in the Japanese locale; elsewhere ASCII and the
// double-byte full-width Latin, Greek and Cyrillic letters. Width is not
// folded. The trail byte of a double-byte character may look like a letter
// ("ア" is 83 41, "ヂ" 83 61) and is never folded on its own.
bool SameText(const std::string &a, const std::string &b);

// The entry equal to `name`, else the first equal but for letter case; -1
// when absent. An exact entry comes first so that of two names that differ
// only in letter case, each stays findable.
inline int32_t FindName(const std::vector<std::string> &entries, const std::string &name) {
    int32_t folded = -1;
    for (int32_t i = 0; i < int32_t(entries.size()); ++i) {
        if (entries[i] == name) return i;
        if (folded < 0 && SameText(entries[i], name)) folded = i;
    }
    return folded;
}

}  // namespace platform
