// One record, without a parameter.
#include "tests/testlibs/wf_TestLib.h"

namespace {
test_log::TLoadLines LoadLog("wf_alpha");
const WindowFuncPluginInfo kAlpha = {"Alpha", nullptr,         0,     0,         0,
                                     0,       WfCreateNothing, WfOne, WfRadius2, WfDestroyNothing};
}  // namespace

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL
GetWindowFuncPluginInfo(int32_t index) {
    return index == 0 ? &kAlpha : nullptr;
}
