/* The saved configuration block: the host stores these 76 bytes in its
   project files, so the layout is a stored format on every build. Plain C. */
#ifndef MORVANE_FILTERCONFIG_H
#define MORVANE_FILTERCONFIG_H

#include <stddef.h>
#include <stdint.h>

#include "abi/CallConv.h"

/* A name field: at most 32 bytes, ending at the first NUL (a 32-byte name
   has none). */
#define MV_CONFIG_NAME_BYTES 32

typedef struct TFilterConfig {
    int32_t Width;                               /* target frame width, pixels */
    int32_t Height;                              /* target frame height, pixels */
    char WndFuncName[MV_CONFIG_NAME_BYTES];      /* or "AreaAverage" */
    char FilterPluginName[MV_CONFIG_NAME_BYTES]; /* kernel name; empty = first */
    int32_t WndFuncParam;                        /* compared as 32 bits, handed on as its low 16 */
} TFilterConfig;

MV_ABI_CHECK(sizeof(TFilterConfig) == 76);
MV_ABI_CHECK(offsetof(TFilterConfig, Height) == 4);
MV_ABI_CHECK(offsetof(TFilterConfig, WndFuncName) == 8);
MV_ABI_CHECK(offsetof(TFilterConfig, FilterPluginName) == 40);
MV_ABI_CHECK(offsetof(TFilterConfig, WndFuncParam) == 72);

#ifdef __cplusplus
/* The block a filter starts with until a project or the settings say
   otherwise; its size is also the one entry of a size list that would
   otherwise hold none. */
constexpr TFilterConfig InitialFilterConfig = {512, 384, "Spline16", "", 0};
#endif

#endif
