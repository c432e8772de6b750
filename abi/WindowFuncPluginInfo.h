/* The record a window-function plug-in library describes each of its window
   functions with. Plain C, included by Morvane and by the plug-ins; on
   32-bit builds the offsets are the plug-in ABI and are checked below. On
   64-bit builds pointers widen with natural alignment. */
#ifndef MORVANE_WINDOWFUNCPLUGININFO_H
#define MORVANE_WINDOWFUNCPLUGININFO_H

#include <stddef.h>
#include <stdint.h>

#include "abi/CallConv.h"

#ifdef __cplusplus
extern "C" {
#endif

/* `param` arrives as the 16-bit value widened without sign (-1 as 65535).
   Any value, null included, is a valid context for the other three. */
typedef void *(MV_CDECL *WindowFuncCreateContextFunc)(int32_t param);
/* The window's value at `distance` samples from the centre; only relative
   values matter, the caller normalises each output position's taps. */
typedef double(MV_CDECL *WindowFuncWeightFunc)(double distance, void *context);
/* Support radius in whole samples. */
typedef int32_t(MV_CDECL *WindowFuncGetRadiusFunc)(void *context);
typedef void(MV_CDECL *WindowFuncDestroyContextFunc)(void *context);

/* Owned by the library that returns it; valid while that library is loaded. */
typedef struct WindowFuncPluginInfo {
    const char *name;      /* CP932, at most 32 bytes: the lookup key */
    const char *paramName; /* CP932 caption, or null: no parameter offered */
    int16_t paramMin;
    int16_t paramMax;
    int16_t paramDefault;
    int16_t reserved;
    WindowFuncCreateContextFunc CreateContext;
    WindowFuncWeightFunc Weight;
    WindowFuncGetRadiusFunc GetRadius;
    WindowFuncDestroyContextFunc DestroyContext;
} WindowFuncPluginInfo;

/* The library's export, called with 0, 1, 2 ... until it returns null. The
   only stdcall function of the plug-in ABI. */
typedef const WindowFuncPluginInfo *(MV_STDCALL *GetWindowFuncPluginInfoFunc)(int32_t index);

#define MV_WINDOWFUNC_EXPORT_NAME "GetWindowFuncPluginInfo"

#ifdef __cplusplus
}
#endif

#if MV_POINTERS_ARE_32BIT
MV_ABI_CHECK(sizeof(WindowFuncPluginInfo) == 32);
MV_ABI_CHECK(offsetof(WindowFuncPluginInfo, paramName) == 4);
MV_ABI_CHECK(offsetof(WindowFuncPluginInfo, paramMin) == 8);
MV_ABI_CHECK(offsetof(WindowFuncPluginInfo, paramMax) == 10);
MV_ABI_CHECK(offsetof(WindowFuncPluginInfo, paramDefault) == 12);
MV_ABI_CHECK(offsetof(WindowFuncPluginInfo, CreateContext) == 16);
MV_ABI_CHECK(offsetof(WindowFuncPluginInfo, Weight) == 20);
MV_ABI_CHECK(offsetof(WindowFuncPluginInfo, GetRadius) == 24);
MV_ABI_CHECK(offsetof(WindowFuncPluginInfo, DestroyContext) == 28);
#endif

#endif
