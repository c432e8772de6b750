// Exports the function but offers no record.
#include "tests/testlibs/wf_TestLib.h"

namespace {
test_log::TLoadLines LoadLog("wf_empty");
}

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL GetWindowFuncPluginInfo(int32_t) {
    return nullptr;
}
