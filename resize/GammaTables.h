// The linear-light tables every frame reads, owned by the filter's state.
#pragma once
#include <cstdint>

class TGammaTables {
public:
    TGammaTables() = default;
    ~TGammaTables() { FreeGammaTables(); }
    TGammaTables(const TGammaTables &) = delete;
    TGammaTables &operator=(const TGammaTables &) = delete;

    // Frees any existing tables, then builds both for exponent `gamma`.
    void BuildGammaTables(double gamma);
    // Frees whichever tables exist; nothing when none do.
    void FreeGammaTables();
    // Both tables exist: a build cut short leaves one at most.
    bool Built() const { return FGammaToLinear && FLinearToGamma; }

    // 4097 float32: colour code 0..4096 -> linear intensity 0..65535. Null until built.
    const float *GammaToLinear() const { return FGammaToLinear; }
    // 65536 int16: linear intensity -> colour code 0..4096. Null until built.
    const int16_t *LinearToGamma() const { return FLinearToGamma; }

private:
    float *FGammaToLinear = nullptr;
    int16_t *FLinearToGamma = nullptr;
};
