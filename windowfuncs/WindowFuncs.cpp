// Morvane's own window-function library: the records and their contexts.
// A context is the clamped parameter encoded in the pointer (never null),
// so nothing is allocated and no parameter value can fault.
#include <algorithm>
#include <cstdint>

#include "abi/WindowFuncPluginInfo.h"
#include "windowfuncs/Functions.h"

namespace {

// Lanczos: the number of lobes on each side, which is also the radius.
constexpr int32_t kLanczosMin = 1, kLanczosMax = 8, kLanczosDefault = 3;
// Bicubic: sharpness p sets Keys' a = -p / 100; 50 is Catmull-Rom.
constexpr int32_t kBicubicMin = 0, kBicubicMax = 100, kBicubicDefault = 50;

// Morvane widens the 16-bit value without sign (-1 arrives as 65535): read
// it back as the signed value the user chose, then keep it in range.
int32_t ClampParam(int32_t param, int32_t lo, int32_t hi) {
    if (param >= 0 && param <= 0xFFFF) param = int16_t(uint16_t(param));
    return std::clamp(param, lo, hi);
}

void *Encode(int32_t value) { return reinterpret_cast<void *>(uintptr_t(value) + 1); }

// Clamped again: the context might come from another record.
int32_t Decode(void *context, int32_t lo, int32_t hi) {
    const intptr_t value = intptr_t(reinterpret_cast<uintptr_t>(context)) - 1;
    return int32_t(std::clamp<intptr_t>(value, lo, hi));
}

void *MV_CDECL CreatePlain(int32_t) { return Encode(0); }
void MV_CDECL DestroyNothing(void *) {}
int32_t MV_CDECL Radius1(void *) { return 1; }
int32_t MV_CDECL Radius2(void *) { return 2; }
int32_t MV_CDECL Radius3(void *) { return 3; }
int32_t MV_CDECL Radius4(void *) { return 4; }

double MV_CDECL Spline16Weight(double x, void *) { return windowfuncs::Spline16(x); }
double MV_CDECL Spline36Weight(double x, void *) { return windowfuncs::Spline36(x); }
double MV_CDECL Spline64Weight(double x, void *) { return windowfuncs::Spline64(x); }
double MV_CDECL BilinearWeight(double x, void *) { return windowfuncs::Triangle(x); }

void *MV_CDECL CreateLanczos(int32_t param) {
    return Encode(ClampParam(param, kLanczosMin, kLanczosMax));
}
int32_t MV_CDECL LanczosRadius(void *context) { return Decode(context, kLanczosMin, kLanczosMax); }
double MV_CDECL LanczosWeight(double x, void *context) {
    return windowfuncs::Lanczos(x, Decode(context, kLanczosMin, kLanczosMax));
}

void *MV_CDECL CreateBicubic(int32_t param) {
    return Encode(ClampParam(param, kBicubicMin, kBicubicMax));
}
double MV_CDECL BicubicWeight(double x, void *context) {
    const double a = -Decode(context, kBicubicMin, kBicubicMax) / 100.0;
    return windowfuncs::KeysCubic(x, a);
}

// Captions in CP932, indented like the dialog's own: "  タップ数", "  シャープネス".
const char kTapsCaption[] = "  \x83\x5E\x83\x62\x83\x76\x90\x94";
const char kSharpnessCaption[] = "  \x83\x56\x83\x83\x81\x5B\x83\x76\x83\x6C\x83\x58";

const WindowFuncPluginInfo kRecords[] = {
    {"Spline16", nullptr, 0, 0, 0, 0, CreatePlain, Spline16Weight, Radius2, DestroyNothing},
    {"Spline36", nullptr, 0, 0, 0, 0, CreatePlain, Spline36Weight, Radius3, DestroyNothing},
    {"Spline64", nullptr, 0, 0, 0, 0, CreatePlain, Spline64Weight, Radius4, DestroyNothing},
    {"Lanczos", kTapsCaption, kLanczosMin, kLanczosMax, kLanczosDefault, 0, CreateLanczos,
     LanczosWeight, LanczosRadius, DestroyNothing},
    {"Bicubic", kSharpnessCaption, kBicubicMin, kBicubicMax, kBicubicDefault, 0, CreateBicubic,
     BicubicWeight, Radius2, DestroyNothing},
    {"Bilinear", nullptr, 0, 0, 0, 0, CreatePlain, BilinearWeight, Radius1, DestroyNothing},
};

constexpr int32_t kRecordCount = int32_t(sizeof(kRecords) / sizeof(kRecords[0]));

}  // namespace

MV_EXTERN_C MV_EXPORT const WindowFuncPluginInfo *MV_STDCALL
GetWindowFuncPluginInfo(int32_t index) {
    if (index < 0 || index >= kRecordCount) return nullptr;
    return &kRecords[index];
}
