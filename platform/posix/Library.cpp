#include "platform/Library.h"

#include <dlfcn.h>

namespace platform {

LibraryHandle OpenLibrary(const std::string &path) {
    // RTLD_LOCAL: two kernels' same-named helpers must never bind to each other.
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void *FindSymbol(LibraryHandle library, const char *name) {
    // dlsym(nullptr, ...) would search the whole process.
    if (!library || !name) return nullptr;
    return dlsym(library, name);
}

void CloseLibrary(LibraryHandle library) {
    if (library) dlclose(library);
}

}  // namespace platform
