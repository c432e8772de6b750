#include "platform/Library.h"

namespace platform {

bool HasLibraryExtension(const std::string &name) {
    static const char ending[] = ".dll";
    const std::size_t n = sizeof(ending) - 1;
    if (name.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = name[name.size() - n + i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != ending[i]) return false;
    }
    return true;
}

}  // namespace platform
