#include "platform/Library.h"

#include <windows.h>

#include "platform/Paths.h"

namespace platform {

namespace {
bool IsListedLibrary(const WIN32_FIND_DATAA &entry) {
    const DWORD skipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    return (entry.dwFileAttributes & skipped) == 0 && HasLibraryExtension(entry.cFileName);
}

}  // namespace

LibraryHandle OpenLibrary(const std::string &path) { return LoadLibraryA(path.c_str()); }

// The system loader refuses a damaged DLL with an error code of its own.
TLibraryFileFault LibraryFileFault(const std::string &) { return {}; }

void *FindSymbol(LibraryHandle library, const char *name) {
    // GetProcAddress(nullptr, ...) would search the program itself.
    if (!library || !name) return nullptr;
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(LibraryHandle library) {
    if (library) FreeLibrary(static_cast<HMODULE>(library));
}

std::vector<std::string> ListLibraries(const std::string &folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const std::string pattern = IncludeTrailingDelimiter(folder) + "*.dll";
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (IsListedLibrary(entry)) names.emplace_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

std::string ModulePathOf(const void *address) {
    HMODULE module = nullptr;
    const DWORD flags =
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExA(flags, static_cast<LPCSTR>(address), &module)) return "";
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(module, buffer, MAX_PATH);
    // n == MAX_PATH: the path was cut, and a cut path names the wrong file.
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : "";
}

}  // namespace platform
