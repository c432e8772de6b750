// Records that cannot be listed (no name; no weight function; an empty name;
// a name of 33 bytes), one of 32 bytes that can, then one usable record
// returned for every later index: it never says "no more".
#include "tests/testlibs/wf_TestLib.h"

namespace {
test_log::TLoadLines LoadLog("wf_faulty");
const WindowFuncPluginInfo kRecords[] = {
    {nullptr, nullptr, 0, 0, 0, 0, WfCreateNothing, WfOne, WfRadius2, WfDestroyNothing},
    {"NoWeight", nullptr, 0, 0, 0, 0, WfCreateNothing, nullptr, WfRadius2, WfDestroyNothing},
    {"", nullptr, 0, 0, 0, 0, WfCreateNothing, WfOne, WfRadius2, WfDestroyNothing},
    {"A33ByteNameThatNoBlockCanHold_033", nullptr, 0, 0, 0, 0, WfCreateNothing, WfOne, WfRadius2,
     WfDestroyNothing},
    {"AName32BytesLongIsTheMostItHolds", nullptr, 0, 0, 0, 0, WfCreateNothing, WfOne, WfRadius2,
     WfDestroyNothing},
    {"Repeated", nullptr, 0, 0, 0, 0, WfCreateNothing, WfOne, WfRadius2, WfDestroyNothing},
};
}  // namespace

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL
GetWindowFuncPluginInfo(int32_t index) {
    return &kRecords[index >= 0 && index < 5 ? index : 5];
}
