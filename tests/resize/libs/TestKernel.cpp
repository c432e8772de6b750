// A kernel plug-in for the list tests only. Built several times with
// KERNEL_NAME (record name, or none), KERNEL_MODE (record, null, no export,
// or a record with no Process, an empty name or a row pitch of 0)
// and LIB_TAG; it writes "load TAG" / "unload TAG" to the test log so the
// tests see loading and unloading.
#include "abi/LinearFilter.h"
#include "tests/support/TestLog.h"

#define MODE_RECORD 0
#define MODE_NULL 1
#define MODE_NO_EXPORT 2
#define MODE_NO_PROCESS 3
#define MODE_EMPTY_NAME 4
#define MODE_ZERO_PITCH 5

namespace {

test_log::TLoadLines logger(LIB_TAG);

#if KERNEL_MODE != MODE_NO_EXPORT
int32_t MV_CDECL Size(LinearFilterContext *, int32_t) { return 0; }
void MV_CDECL Process(void *, const void *, LinearFilterContext *, int32_t, int32_t) {}
// tileWidth tells the tests which library a record came from.
const LinearFilterPluginInfo Info = {KERNEL_MODE == MODE_EMPTY_NAME ? "" : KERNEL_NAME,
                                     Size,
                                     Size,
                                     KERNEL_MODE == MODE_NO_PROCESS ? nullptr : Process,
                                     LIB_NUMBER,
                                     160,
                                     KERNEL_MODE == MODE_ZERO_PITCH ? 0 : 896};
#endif

}  // namespace

#if KERNEL_MODE != MODE_NO_EXPORT
MV_EXTERN_C MV_EXPORT const LinearFilterPluginInfo *MV_CDECL GetLinearFilterPluginInfo(void) {
    return KERNEL_MODE == MODE_NULL ? nullptr : &Info;
}
#endif
