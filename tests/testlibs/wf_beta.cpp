// "Beta" with a parameter, then a second "Alpha" that repeats another
// library's name.
#include "tests/testlibs/wf_TestLib.h"

namespace {
test_log::TLoadLines LoadLog("wf_beta");
const WindowFuncPluginInfo kRecords[] = {
    {"Beta", "  Beta", -5, 5, 1, 0, WfCreateNothing, WfOne, WfRadius2, WfDestroyNothing},
    {"Alpha", nullptr, 0, 0, 0, 0, WfCreateNothing, WfOne, WfRadius2, WfDestroyNothing},
};
}  // namespace

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL
GetWindowFuncPluginInfo(int32_t index) {
    return index >= 0 && index < 2 ? &kRecords[index] : nullptr;
}
