#include "cli/TargetSize.h"

#include "platform/SizeText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/CommaText.h"

namespace {

int Rounded(double side, bool even) {
    const long value = even ? 2 * std::lround(side / 2) : std::lround(side);
    return int(std::max(value, even ? 2L : 1L));
}

}  // namespace

bool ParseWhole(const std::string &text, int low, int high, int &value) {
    // Digits alone: ParseInt32 would also take blanks and a sign.
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    int32_t v = 0;
    if (!ParseInt32(text, v) || v < low || v > high) return false;
    value = v;
    return true;
}

bool ParseSizeWithin(const std::string &text, bool partial, int maxWidth, int maxHeight, int &width,
                     int &height) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    const std::string w = text.substr(0, x), h = text.substr(x + 1);
    int pw = 0, ph = 0;
    if (!(w.empty() && partial) && !ParseWhole(w, 1, maxWidth, pw)) return false;
    if (!(h.empty() && partial) && !ParseWhole(h, 1, maxHeight, ph)) return false;
    if (pw == 0 && ph == 0) return false;
    width = pw;
    height = ph;
    return true;
}

void ResolveSize(const TSizeRequest &r, int inWidth, int inHeight, int &width, int &height) {
    const double aspect = double(inWidth) / inHeight;
    if (r.Fit) {
        const bool widthBound = double(r.Width) / r.Height <= aspect;
        width = widthBound ? r.Width : std::min(r.Width, Rounded(r.Height * aspect, r.Even));
        height = widthBound ? std::min(r.Height, Rounded(r.Width / aspect, r.Even)) : r.Height;
        if (r.Even) {  // an odd box side still holds the even size below it
            width = std::max(1, width - width % 2);
            height = std::max(1, height - height % 2);
        }
        return;
    }
    width = r.Width ? r.Width : Rounded(r.Height * aspect, r.Even);
    height = r.Height ? r.Height : Rounded(r.Width / aspect, r.Even);
}

bool FitsLargestFrame(long width, long height) {
    return LargestFrameFault("", width, height).empty();
}

std::string LargestFrameFault(const std::string &what, long width, long height, int maxWidth,
                              int maxHeight) {
    if (width <= maxWidth && height <= maxHeight) return "";
    return what + " " + FormatSize(int32_t(width), int32_t(height)) +
           " is beyond the largest frame " + FormatSize(maxWidth, maxHeight);
}

std::string LargestFrameText() { return FormatSize(kMaxFrameWidth, kMaxFrameHeight); }
