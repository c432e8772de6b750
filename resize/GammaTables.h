// The module-wide linear-light tables, shared by every frame.
#pragma once
#include <cstdint>

// 4097 float32: colour code 0..4096 -> linear intensity 0..65535. Null until built.
extern float *GammaToLinear;
// 65536 int16: linear intensity -> colour code 0..4096. Null until built.
extern int16_t *LinearToGamma;

// Frees any existing tables, then builds both for exponent `gamma`.
void BuildGammaTables(double gamma);
// Frees whichever tables exist; nothing when none do.
void FreeGammaTables();
