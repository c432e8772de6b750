// Target sizes as people write them, resolved against the input's size.
#pragma once
#include <string>

// The stand-in host's largest frame, which bounds every input and target:
// twice the width of 4K UHD and room for portrait frames of the same size.
constexpr int kMaxFrameWidth = 8192;
constexpr int kMaxFrameHeight = 8192;

// Whether every input and target of `width` × `height` fits that frame.
bool FitsLargestFrame(long width, long height);
// The largest frame as a size text.
std::string LargestFrameText();
// Every picture's, stream's and target's size is checked here: for one
// that does not fit the largest frame (or the one given),
// "<what> WxH is beyond the largest frame MxN"; empty for one that fits.
std::string LargestFrameFault(const std::string &what, long width, long height,
                              int maxWidth = kMaxFrameWidth, int maxHeight = kMaxFrameHeight);

struct TSizeRequest {
    int Width = 0, Height = 0;  // 0: follows the input's aspect ratio
    bool Fit = false;           // the largest size inside Width × Height
    bool Even = false;          // rounded to even sides (4:2:0 video)
    bool Given() const { return Width > 0 || Height > 0; }
};

// The whole of `text` as a decimal number in low..high, without sign or
// blanks; false, with `value` untouched, otherwise.
bool ParseWhole(const std::string &text, int low, int high, int &value);

// "WxH" of whole numbers within 1..max; with `partial`, also "Wx" and "xH"
// (the missing side 0). False otherwise. Stricter than the size list's
// ParseSize, which takes blanks and signs and has no bound.
bool ParseSizeWithin(const std::string &text, bool partial, int maxWidth, int maxHeight, int &width,
                     int &height);

// The exact size for an input of `inWidth` × `inHeight`: a missing side
// keeps the aspect ratio, rounded to nearest (to even with Even), at least
// 1 (2 with Even).
void ResolveSize(const TSizeRequest &request, int inWidth, int inHeight, int &width, int &height);
