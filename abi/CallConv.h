/* Calling conventions of the 32-bit Windows plug-in ABI (elsewhere there is
   one convention, so the macros are empty), and the layout check every
   interface header makes of its records. */
#ifndef MORVANE_CALLCONV_H
#define MORVANE_CALLCONV_H

#if defined(_WIN32) && !defined(_WIN64)
#define MV_CDECL __cdecl
#define MV_STDCALL __stdcall
#else
#define MV_CDECL
#define MV_STDCALL
#endif

#if defined(_WIN32)
#define MV_EXPORT __declspec(dllexport)
#else
#define MV_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define MV_EXTERN_C extern "C"
#else
#define MV_EXTERN_C
#endif

/* A record's size or offset checked where the header is compiled, in C or C++. */
#ifdef __cplusplus
#define MV_ABI_CHECK(c) static_assert(c, #c)
#else
#define MV_ABI_CHECK(c) _Static_assert(c, #c)
#endif

/* True when the records below have the host's 32-bit layout. */
#define MV_POINTERS_ARE_32BIT (__SIZEOF_POINTER__ == 4)

#endif
