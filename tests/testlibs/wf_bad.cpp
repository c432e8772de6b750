// Window functions whose values cannot be normalised as they stand: the
// weight builder must still give finite weights that sum to 1.
#include <limits>

#include "tests/testlibs/wf_TestLib.h"

namespace {
test_log::TLoadLines LoadLog("wf_bad");
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

double MV_CDECL Zero(double, void *) { return 0; }
double MV_CDECL NaN(double, void *) { return kNaN; }
double MV_CDECL NaNCentre(double x, void *) { return x > -0.5 && x < 0.5 ? kNaN : 1; }
double MV_CDECL Infinite(double x, void *) { return x < 0 ? kInf : 1; }
// Each value finite, the sum beyond the largest double.
double MV_CDECL Huge(double, void *) { return 1e308; }
// At integer distances the sum is 1e-300 after cancellation, so a weight
// divided by it exceeds every float.
double MV_CDECL Overflow(double x, void *) {
    if (x == -1) return 1e300;
    if (x == 0) return -1e300;
    if (x == 1) return 1e-300;
    return 0;
}

constexpr WindowFuncPluginInfo Record(const char *name, WindowFuncWeightFunc weight) {
    return {name, nullptr, 0, 0, 0, 0, WfCreateNothing, weight, WfRadius2, WfDestroyNothing};
}
const WindowFuncPluginInfo kRecords[] = {
    Record("Zero", Zero),         Record("NaN", NaN),   Record("NaNCentre", NaNCentre),
    Record("Infinite", Infinite), Record("Huge", Huge), Record("Overflow", Overflow)};
constexpr int32_t kCount = int32_t(sizeof(kRecords) / sizeof(kRecords[0]));
}  // namespace

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL
GetWindowFuncPluginInfo(int32_t index) {
    return index >= 0 && index < kCount ? &kRecords[index] : nullptr;
}
