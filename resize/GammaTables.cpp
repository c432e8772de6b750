#include "resize/GammaTables.h"

#include <algorithm>
#include <cmath>

#include "resize/FpuPrecision.h"
#include "resize/xmmutil.h"

namespace {
constexpr int CodeCount = 4097;        // codes 0..4096
constexpr int IntensityCount = 65536;  // intensities 0..65535
constexpr int TopCode = CodeCount - 1;

// The inverse table's entry for intensity j, by its definition.
int16_t CodeOf(int32_t j, double inverse) {
    return int16_t(int(std::pow(j / 65535.0, inverse) * 4096.0 + 0.5));
}

// The inverse table by runs of equal codes: 65536 entries hold only 4097
// codes, and a power evaluation costs as much as the rest of the frame's
// preparation. A run of code c ends where the code first exceeds c, at the
// intensity of code c + 0.5, which lies near the mean of forward[c] and
// forward[c + 1]; the end is then checked on both sides with the definition
// itself, so each run costs about two evaluations. Codes rise with the
// intensity, so every entry inside a run is the run's code.
void FillInverse(const float *forward, double inverse, int16_t *table) {
    int32_t start = 0;
    int16_t code = CodeOf(0, inverse);
    while (start < IntensityCount) {
        int32_t end = start + 1;
        int16_t next = end < IntensityCount ? int16_t(0) : code;
        if (code >= 0 && code < TopCode) {
            const double guess = 0.5 * (double(forward[code]) + double(forward[code + 1]));
            end = guess < start + 1         ? start + 1
                  : guess >= IntensityCount ? IntensityCount
                                            : int32_t(std::ceil(guess));
            while (end > start + 1 && CodeOf(end - 1, inverse) > code) --end;
            while (end < IntensityCount && (next = CodeOf(end, inverse)) <= code) ++end;
        } else if (code == TopCode) {
            end = IntensityCount;  // nothing lies above the top code
        } else if (end < IntensityCount) {
            next = CodeOf(end, inverse);  // outside the forward table: one at a time
        }
        std::fill(table + start, table + end, code);
        start = end;
        code = next;
    }
}
}  // namespace

void TGammaTables::FreeGammaTables() {
    if (FGammaToLinear) AlignedFreeMem(FGammaToLinear);
    FGammaToLinear = nullptr;
    if (FLinearToGamma) AlignedFreeMem(FLinearToGamma);
    FLinearToGamma = nullptr;
}

void TGammaTables::BuildGammaTables(double gamma) {
    // The same tables whatever precision the host's thread left set.
    TDoublePrecision precision;
    FreeGammaTables();
    // Each pointer is stored as soon as its block exists, so a failure part-way
    // leaves a null pointer and the next frame builds both again.
    FGammaToLinear = static_cast<float *>(AlignedGetMem(CodeCount * sizeof(float), 128));
    FLinearToGamma = static_cast<int16_t *>(AlignedGetMem(IntensityCount * sizeof(int16_t), 128));
    for (int i = 0; i < CodeCount; ++i)
        FGammaToLinear[i] = float(std::pow(i / 4096.0, gamma) * 65535.0);
    FillInverse(FGammaToLinear, 1.0 / gamma, FLinearToGamma);
}
