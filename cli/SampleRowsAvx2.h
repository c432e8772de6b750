// The row loops of SampleRows on eight lanes, for processors with AVX2:
// the AVX2 tier's bodies. Each returns how many samples it did, the rest
// being the next tier's.
#pragma once
#include "cli/SampleRows.h"

namespace sample_rows_avx2 {

// Whether this processor and its system run AVX2.
bool Available();

int ScaleBody(const uint8_t *in, int count, THostScale scale, int16_t *out);
int ScaleBody(const uint16_t *in, int count, THostScale scale, int16_t *out);
int ScaleBody(const int32_t *in, int count, THostScale scale, int16_t *out);

// Only where the scale's steps fit int32.
int CodesBody(const int32_t *in, int count, TCodeScale scale, uint8_t *out);
int CodesBody(const int32_t *in, int count, TCodeScale scale, uint16_t *out);

// `streaming`: the lines may go straight to memory (a 16-byte aligned `out`).
int PackBody(const int16_t *y, const int16_t *cb, const int16_t *cr, int count, bool streaming,
             PIXEL_YC *out);
int UnpackBody(const PIXEL_YC *in, int count, int32_t *y, int32_t *cb, int32_t *cr, int weight,
               bool add);

}  // namespace sample_rows_avx2
