#include "platform/ModulePath.h"

#include <windows.h>

namespace platform {

std::string ModulePathOf(const void *address) {
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                        GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExA(flags, static_cast<LPCSTR>(address), &module)) return "";
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(module, buffer, MAX_PATH);
    // n == MAX_PATH: the path was cut, and a cut path names the wrong file.
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : "";
}

}  // namespace platform
