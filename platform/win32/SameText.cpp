#include "platform/SameText.h"

#include <windows.h>

#include <climits>

namespace platform {

bool SameText(const std::string &a, const std::string &b) {
    // The comparison the editor's own lists make, in its code page whatever
    // the system's locale.
    const LCID japanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);
    if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
    return CompareStringA(japanese, NORM_IGNORECASE, a.data(), int(a.size()), b.data(),
                          int(b.size())) == CSTR_EQUAL;
}

}  // namespace platform
