#include "resize/GammaTables.h"

#include <cmath>

#include "resize/FpuPrecision.h"
#include "resize/xmmutil.h"

float *GammaToLinear = nullptr;
int16_t *LinearToGamma = nullptr;

namespace {
constexpr int CodeCount = 4097;       // codes 0..4096
constexpr int IntensityCount = 65536;  // intensities 0..65535
}  // namespace

void FreeGammaTables() {
    if (GammaToLinear) AlignedFreeMem(GammaToLinear);
    GammaToLinear = nullptr;
    if (LinearToGamma) AlignedFreeMem(LinearToGamma);
    LinearToGamma = nullptr;
}

void BuildGammaTables(double gamma) {
    // The same tables whatever precision the host's thread left set.
    TDoublePrecision precision;
    FreeGammaTables();
    // Each pointer is stored as soon as its block exists, so a failure part-way
    // leaves a null pointer and the next frame builds both again.
    GammaToLinear = static_cast<float *>(AlignedGetMem(CodeCount * sizeof(float), 128));
    LinearToGamma = static_cast<int16_t *>(AlignedGetMem(IntensityCount * sizeof(int16_t), 128));
    for (int i = 0; i < CodeCount; ++i)
        GammaToLinear[i] = float(std::pow(i / 4096.0, gamma) * 65535.0);
    const double inverse = 1.0 / gamma;
    for (int j = 0; j < IntensityCount; ++j)
        LinearToGamma[j] = int16_t(int(std::pow(j / 65535.0, inverse) * 4096.0 + 0.5));
}
