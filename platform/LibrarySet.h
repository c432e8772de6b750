// The plug-in libraries the filter keeps loaded, whichever list took a
// record from them. Both lists scan the same folder and each opens every
// library once more, so one owner unloads them all, last loaded first.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Library.h"

namespace platform {

class TLibrarySet {
public:
    TLibrarySet() = default;
    ~TLibrarySet() { Clear(); }
    TLibrarySet(TLibrarySet &&other) noexcept : FLibraries(std::move(other.FLibraries)) {
        other.FLibraries.clear();
    }
    TLibrarySet &operator=(TLibrarySet &&other) noexcept;
    TLibrarySet(const TLibrarySet &) = delete;
    TLibrarySet &operator=(const TLibrarySet &) = delete;

    // Opens each library in `folder` in listing order and keeps it when
    // `take` found what it looks for in it; any other is unloaded at once.
    void LoadFromDir(const std::string &folder, const std::function<bool(LibraryHandle)> &take);
    int32_t Count() const { return int32_t(FLibraries.size()); }
    // Unloads every library, last loaded first.
    void Clear() noexcept;

private:
    std::vector<LibraryHandle> FLibraries;  // in load order
};

}  // namespace platform
