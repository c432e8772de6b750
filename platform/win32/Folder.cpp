#include "platform/Folder.h"

#include <windows.h>

#include "platform/Paths.h"

namespace platform {

namespace {

bool IsListedLibrary(const WIN32_FIND_DATAA &entry) {
    const DWORD skipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    return (entry.dwFileAttributes & skipped) == 0 && HasLibraryExtension(entry.cFileName);
}

}  // namespace

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

}  // namespace platform
