#include "cli/Orientation.h"

#include <cstddef>

bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

bool KeepsRowOrder(int orientation) { return orientation == 1 || orientation == 2; }

void UprightRow(const uint8_t *stored, int storedWidth, int storedHeight, int components,
                int orientation, int y, uint8_t *row) {
    const std::ptrdiff_t c = components, line = std::ptrdiff_t(storedWidth) * c;
    const std::ptrdiff_t right = (storedWidth - 1) * c, bottom = (storedHeight - 1) * line;
    // Where the row starts in the stored picture and the step to the next
    // upright pixel: along a stored row for 1..4, down a column for 5..8.
    std::ptrdiff_t start = 0, step = c;
    switch (orientation) {
    case 2: start = y * line + right, step = -c; break;
    case 3: start = bottom - y * line + right, step = -c; break;
    case 4: start = bottom - y * line; break;
    case 5: start = y * c, step = line; break;
    case 6: start = y * c + bottom, step = -line; break;
    case 7: start = right - y * c + bottom, step = -line; break;
    case 8: start = right - y * c, step = line; break;
    default: start = y * line; break;
    }
    const int width = SwapsSides(orientation) ? storedHeight : storedWidth;
    const uint8_t *from = stored + start;
    for (int x = 0; x < width; ++x, from += step)
        for (int k = 0; k < components; ++k) row[std::ptrdiff_t(x) * c + k] = from[k];
}
