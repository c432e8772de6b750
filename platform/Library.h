// Loading plug-in libraries at run time. (Names differ from the Win32 ones so
// that <windows.h> macros never rewrite them.)
#pragma once
#include <string>

namespace platform {

using LibraryHandle = void *;

// Null when the file is missing or is no loadable library. Symbols of one
// library never bind to another's (RTLD_LOCAL on POSIX).
LibraryHandle OpenLibrary(const std::string &path);
// What makes the file unfit to load ("" when nothing is seen). A truncated
// library must be refused before the system loader maps it: touching the
// missing pages ends the process (SIGBUS). OpenLibrary checks this first.
std::string LibraryFileFault(const std::string &path);
// Null when the library has no such export.
void *FindSymbol(LibraryHandle library, const char *name);
void CloseLibrary(LibraryHandle library);

}  // namespace platform
