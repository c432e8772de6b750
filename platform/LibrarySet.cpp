#include "platform/LibrarySet.h"

#include "platform/Paths.h"

namespace platform {

TLibrarySet &TLibrarySet::operator=(TLibrarySet &&other) noexcept {
    if (this != &other) {
        Clear();
        FLibraries = std::move(other.FLibraries);
        other.FLibraries.clear();
    }
    return *this;
}

void TLibrarySet::LoadFromDir(const std::string &folder,
                              const std::function<bool(LibraryHandle)> &take) {
    const std::string dir = IncludeTrailingDelimiter(folder);
    for (const std::string &file : ListLibraries(dir)) {
        LibraryHandle library = OpenLibrary(dir + file);
        if (!library) continue;
        // Room first, so that a kept library always has its place.
        FLibraries.reserve(FLibraries.size() + 1);
        if (take(library))
            FLibraries.push_back(library);
        else
            CloseLibrary(library);
    }
}

void TLibrarySet::Clear() noexcept {
    while (!FLibraries.empty()) {
        CloseLibrary(FLibraries.back());
        FLibraries.pop_back();
    }
}

}  // namespace platform
