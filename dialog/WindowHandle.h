// The few window-system types the dialog names; opaque tokens where the
// system has no windows.
#pragma once
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
using HWND = void *;
using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
#endif
