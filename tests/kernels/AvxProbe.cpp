// Compiled with -mavx -mbmi only to prove that check-no-avx rejects such code.
#include <immintrin.h>

void AvxProbeAdd(float *a) {
    _mm256_storeu_ps(a, _mm256_add_ps(_mm256_loadu_ps(a), _mm256_loadu_ps(a + 8)));
}

unsigned AvxProbeAndNot(unsigned x, unsigned y) { return __andn_u32(x, y); }
