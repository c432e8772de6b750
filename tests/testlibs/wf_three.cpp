// Three records, then null.
#include "tests/testlibs/wf_TestLib.h"

namespace {
test_log::TLoadLines LoadLog("wf_three");
const WindowFuncPluginInfo kRecords[] = {
    {"Gauss", nullptr, 0, 0, 0, 0, WfCreateNothing, WfOne, WfRadius2, WfDestroyNothing},
    {"Box", nullptr, 0, 0, 0, 0, WfCreateNothing, WfOne, WfRadius2, WfDestroyNothing},
    {"Hat", nullptr, 0, 0, 0, 0, WfCreateNothing, WfOne, WfRadius2, WfDestroyNothing},
};
}  // namespace

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL
GetWindowFuncPluginInfo(int32_t index) {
    return index >= 0 && index < 3 ? &kRecords[index] : nullptr;
}
