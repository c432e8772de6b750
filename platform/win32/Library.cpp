#include "platform/Library.h"

#include <windows.h>

namespace platform {

LibraryHandle OpenLibrary(const std::string &path) {
    return LoadLibraryA(path.c_str());
}

// The system loader refuses a damaged DLL with an error code of its own.
std::string LibraryFileFault(const std::string &) { return ""; }

void *FindSymbol(LibraryHandle library, const char *name) {
    // GetProcAddress(nullptr, ...) would search the program itself.
    if (!library || !name) return nullptr;
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(LibraryHandle library) {
    if (library) FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace platform
