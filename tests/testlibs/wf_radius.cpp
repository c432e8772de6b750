// "ParamRadius": the radius is the parameter as received. Contexts live on
// the heap and are counted, so tests see every one released.
#include "tests/testlibs/wf_TestLib.h"

namespace {
test_log::TLoadLines LoadLog("wf_radius");
int32_t LiveContexts = 0;

void *MV_CDECL Create(int32_t param) {
    ++LiveContexts;
    return new int32_t(param);
}
int32_t MV_CDECL Radius(void *context) { return *static_cast<int32_t *>(context); }
double MV_CDECL Weight(double x, void *) { return x > -1 && x < 1 ? 1 - (x < 0 ? -x : x) : 0; }
void MV_CDECL Destroy(void *context) {
    --LiveContexts;
    delete static_cast<int32_t *>(context);
}

const WindowFuncPluginInfo kRecord = {"ParamRadius", "  R",  0,      16,     2, 0,
                                      Create,        Weight, Radius, Destroy};
}  // namespace

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL
GetWindowFuncPluginInfo(int32_t index) {
    return index == 0 ? &kRecord : nullptr;
}

// Contexts made and not yet destroyed.
MV_EXTERN_C MV_EXPORT int32_t MV_CDECL WfLiveContexts(void) { return LiveContexts; }
