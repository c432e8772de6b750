#include "platform/SizeText.h"

#include "platform/CommaText.h"

namespace {

// Decimal integer with leading blanks and one sign; anything else is 0.
int32_t SizePart(const std::string &text) {
    int32_t value = 0;
    return ParseInt32(text, value) ? value : 0;
}

}  // namespace

std::pair<int32_t, int32_t> ParseSize(const std::string &text) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos || x == 0) return {0, 0};
    const int32_t w = SizePart(text.substr(0, x));
    const int32_t h = SizePart(text.substr(x + 1));
    if (w <= 0 || h <= 0) return {0, 0};
    return {w, h};
}

std::string FormatSize(int32_t width, int32_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}
