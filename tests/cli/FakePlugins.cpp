// A plug-in-folder library for the tool's tests: the window functions "Box"
// (parameter 1 to 4, default 2), "Negate" and "Fail" (the fake filter's
// modes of those names) and one kernel "Fake". The records are complete,
// so the filter's list code takes them, but the fake filter never calls
// them: nothing here filters.
#include "abi/LinearFilter.h"
#include "abi/WindowFuncPluginInfo.h"

namespace {

void *MV_CDECL Create(int32_t) { return nullptr; }
double MV_CDECL Weight(double, void *) { return 1.0; }
int32_t MV_CDECL Radius(void *) { return 1; }
void MV_CDECL Destroy(void *) {}
int32_t MV_CDECL BufferSize(LinearFilterContext *, int32_t) { return 0; }
void MV_CDECL Process(void *, const void *, LinearFilterContext *, int32_t, int32_t) {}

const WindowFuncPluginInfo kFuncs[] = {
    {"Box", "Taps", 1, 4, 2, 0, Create, Weight, Radius, Destroy},
    {"Negate", nullptr, 0, 0, 0, 0, Create, Weight, Radius, Destroy},
    {"Fail", nullptr, 0, 0, 0, 0, Create, Weight, Radius, Destroy},
};
const LinearFilterPluginInfo kKernel = {"Fake", BufferSize, BufferSize, Process, 64, 160, 896};

}  // namespace

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL
GetWindowFuncPluginInfo(int32_t index) {
    return index >= 0 && index < 3 ? &kFuncs[index] : nullptr;
}

MV_EXTERN_C MV_EXPORT const LinearFilterPluginInfo *MV_CDECL GetLinearFilterPluginInfo() {
    return &kKernel;
}
