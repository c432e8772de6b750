// Two records whose names differ only in letter case, with different
// weights, so a frame shows which of the two was used.
#include "tests/testlibs/wf_TestLib.h"

namespace {
test_log::TLoadLines LoadLog("wf_cases");
double MV_CDECL Tent(double x, void *) {
    const double a = x < 0 ? -x : x;
    return a < 1 ? 1 - a : 0;
}
int32_t MV_CDECL Radius1(void *) { return 1; }
const WindowFuncPluginInfo kRecords[] = {
    {"Tent", nullptr, 0, 0, 0, 0, WfCreateNothing, Tent, Radius1, WfDestroyNothing},
    {"tent", nullptr, 0, 0, 0, 0, WfCreateNothing, WfOne, WfRadius2, WfDestroyNothing},
};
}  // namespace

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL
GetWindowFuncPluginInfo(int32_t index) {
    return index >= 0 && index < 2 ? &kRecords[index] : nullptr;
}
