// A plug-in-folder library for the tool's tests: the window functions "Box"
// (parameter 1 to 4, default 2), "Negate" and "Fail" (the fake filter's
// modes of those names) and one kernel "Fake". The tool reads only the
// records' descriptions; nothing here filters.
#include "abi/LinearFilter.h"
#include "abi/WindowFuncPluginInfo.h"

namespace {

const WindowFuncPluginInfo kFuncs[] = {
    {"Box", "Taps", 1, 4, 2, 0, nullptr, nullptr, nullptr, nullptr},
    {"Negate", nullptr, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {"Fail", nullptr, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr},
};
const LinearFilterPluginInfo kKernel = {"Fake", nullptr, nullptr, nullptr, 64, 160, 896};

}  // namespace

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL
GetWindowFuncPluginInfo(int32_t index) {
    return index >= 0 && index < 3 ? &kFuncs[index] : nullptr;
}

MV_EXTERN_C MV_EXPORT const LinearFilterPluginInfo *MV_CDECL GetLinearFilterPluginInfo() {
    return &kKernel;
}
