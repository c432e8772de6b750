// A picture stored turned or mirrored, as an EXIF orientation 1..8 says,
// brought upright. Samples are 8-bit, `components` to a pixel, rows packed.
#pragma once
#include <cstdint>

// Orientations 5..8 store the upright picture's columns as rows.
bool SwapsSides(int orientation);

// 1 and 2 keep the rows in their order, so each upright row comes from the
// stored row of the same number alone and nothing need be held whole.
bool KeepsRowOrder(int orientation);

// Upright row `y` from the stored picture `storedWidth` × `storedHeight`
// (only the stored row `y` when KeepsRowOrder: then pass it with height 1
// and y 0).
void UprightRow(const uint8_t *stored, int storedWidth, int storedHeight, int components,
                int orientation, int y, uint8_t *row);
