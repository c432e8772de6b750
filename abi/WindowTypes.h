/* The window-system types the interfaces name: the system's own on Windows,
   opaque stand-ins where there are no windows. Plain C. */
#ifndef MORVANE_WINDOWTYPES_H
#define MORVANE_WINDOWTYPES_H

#include <stdint.h>

#ifdef _WIN32
#include <windows.h>
#else
typedef int32_t BOOL;
typedef uint32_t UINT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef void *HWND;
typedef void *HINSTANCE;
typedef void *HFONT;
#endif

#endif
