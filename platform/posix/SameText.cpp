#include "platform/SameText.h"

namespace platform {

namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

unsigned char FoldCase(unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

// A double-byte character, its small letters taken to their capitals: the
// letters of CP932 that have a case, rows 0x82 to 0x84.
unsigned FoldCase(unsigned char lead, unsigned char trail) {
    if (lead == 0x82 && trail >= 0x81 && trail <= 0x9A) trail -= 0x21;  // full-width Latin
    if (lead == 0x83 && trail >= 0xBF && trail <= 0xD6) trail -= 0x20;  // Greek
    if (lead == 0x84) {  // Cyrillic; the small letters skip the trail byte 0x7F
        if (trail >= 0x70 && trail <= 0x7E)
            trail -= 0x30;
        else if (trail >= 0x80 && trail <= 0x91)
            trail -= 0x31;
    }
    return unsigned(lead) << 8 | trail;
}

}  // namespace

bool SameText(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (IsLeadByte(x) && i + 1 < a.size()) {
            if (!IsLeadByte(y)) return false;
            const auto xt = static_cast<unsigned char>(a[i + 1]);
            const auto yt = static_cast<unsigned char>(b[i + 1]);
            if (FoldCase(x, xt) != FoldCase(y, yt)) return false;
            ++i;
        } else if (FoldCase(x) != FoldCase(y)) {
            return false;
        }
    }
    return true;
}

}  // namespace platform
