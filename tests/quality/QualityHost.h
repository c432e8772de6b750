// The built filter in a throwaway installation with every kernel and the
// window functions, driven through the stand-in host, and the measurements
// of the HQ kernels' targets on its frames (8-bit levels, as the tool writes them).
#pragma once
#include <string>
#include <vector>

#include "standin/YcImage.h"
#include "tests/support/TestPaths.h"

namespace quality_test {

class TQualityHost {
public:
    TQualityHost();
    // `src` resized to w × h with window function `func` (parameter
    // `param`) on the kernel named `kernel`, two threads.
    TYcImage Resize(const TYcImage &src, int w, int h, const char *func, int param,
                    const std::string &kernel) const;

private:
    testing_support::TempDir FDir;
    std::string FFilter;
};

// Grey level 0..255 (unrounded) as the tool's grey conversion gives it.
TYcImage GreyImage(int w, int h, double (*level)(int x, int y));
double LevelOf(const PIXEL_YC &p);
// The 8-bit level the tool writes: rounded, clamped to 0..255.
int Level8(const PIXEL_YC &p);

// A grey edge, dark | bright, 4× up: the worst dip below the dark side and
// rise above the bright side (8-bit levels) and the 10-90 rise in source
// pixels, along the middle row.
struct EdgeMeasure {
    int undershoot, overshoot;
    double rise;
};
EdgeMeasure MeasureEdge(const TQualityHost &host, const std::string &kernel);
// One 255 pixel on 40, 4× up: how far the ring 1.2 to 4 source pixels out
// drops below 40 (8-bit levels).
int MeasureMoat(const TQualityHost &host, const std::string &kernel);
// Flat fields of every 8-bit code, 2:1 down: the codes that do not come
// back as themselves.
std::vector<int> LostCodes(const TQualityHost &host, const std::string &kernel);
// A dark ramp 0 .. 40/255 (16-bit input), 2:1 down: the largest step
// between neighbouring outputs, in 8-bit levels (unrounded, as 16 bits).
double LargestRampStep(const TQualityHost &host, const std::string &kernel);

}  // namespace quality_test
