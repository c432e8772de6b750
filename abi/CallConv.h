/* Calling conventions of the 32-bit Windows plug-in ABI. Elsewhere there is
   one convention, so the macros are empty. */
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

/* True when the records below have the host's 32-bit layout. */
#define MV_POINTERS_ARE_32BIT (__SIZEOF_POINTER__ == 4)

#endif
