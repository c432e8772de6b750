// Plug-in libraries: finding them in a folder, loading them, and the module
// that holds running code. (Names differ from the Win32 ones so that
// <windows.h> macros never rewrite them.)
#pragma once
#include <string>
#include <vector>

namespace platform {

// Names (without folder) of the plain files in `folder` whose names end in
// ".dll", in the order the system yields them. Hidden and system files and
// folders are passed over. A missing folder gives an empty list. `folder`
// may or may not end in a path delimiter.
std::vector<std::string> ListLibraries(const std::string &folder);

// True when `name` ends in ".dll" in any letter case. Windows' "*.dll" pattern
// also matches longer extensions through 8.3 short names ("a.dllx" as
// "A~1.DLL"), so both listings filter with this one rule.
bool HasLibraryExtension(const std::string &name);

using LibraryHandle = void *;

// Null when the file is missing or is no loadable library. Symbols of one
// library never bind to another's (RTLD_LOCAL on POSIX).
LibraryHandle OpenLibrary(const std::string &path);
// What makes a file unfit to load: the kind, to decide on, and a text for
// people that says what was seen ("" with None).
enum class TLibraryFaultKind {
    None,
    Unreadable,
    NotALibrary,
    Truncated,
    Damaged,
    ForeignProcessor
};
struct TLibraryFileFault {
    TLibraryFaultKind Kind = TLibraryFaultKind::None;
    std::string Text;
};
// The text of NotALibrary, which is also what a file the system loader
// refuses is called.
constexpr const char *NotALibraryText = "not a loadable library for this system";
// A truncated library must be refused before the system loader maps it:
// touching the missing pages ends the process (SIGBUS). OpenLibrary checks
// this first.
TLibraryFileFault LibraryFileFault(const std::string &path);
// Null when the library has no such export.
void *FindSymbol(LibraryHandle library, const char *name);
void CloseLibrary(LibraryHandle library);

// Full path of the library or program that contains `address` ("" if unknown).
std::string ModulePathOf(const void *address);

}  // namespace platform
