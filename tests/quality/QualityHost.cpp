#include "tests/quality/QualityHost.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "abi/FilterConfig.h"
#include "cli/YcConversion.h"
#include "standin/StandinHost.h"

namespace quality_test {

TQualityHost::TQualityHost() {
    FFilter = FDir.CopyIn(testing_support::DistDir() + "Morvane.auf", "Morvane.auf");
    std::filesystem::create_directories(FDir.Path() + "DLL");
    for (const char *lib :
         {"Tessolk.dll", "TessolkHQ.dll", "Varnoth.dll", "VarnothHQ.dll", "WindowFuncs.dll"})
        FDir.CopyIn(testing_support::PluginPath(lib), std::string("DLL/") + lib);
}

TYcImage TQualityHost::Resize(const TYcImage &src, int w, int h, const char *func, int param,
                              const std::string &kernel) const {
    const int maxW = (std::max(src.Width, w) + 7) / 8 * 8, maxH = std::max(src.Height, h);
    TStandinHost host(FFilter, maxW, maxH, 2);
    host.Init();
    TFilterConfig block{};
    block.Width = w;
    block.Height = h;
    std::strncpy(block.WndFuncName, func, sizeof block.WndFuncName - 1);
    std::strncpy(block.FilterPluginName, kernel.c_str(), sizeof block.FilterPluginName - 1);
    block.WndFuncParam = param;
    host.RestoreProject(&block, sizeof block);
    return host.ProcessFrame(src).Image;
}

TYcImage GreyImage(int w, int h, double (*level)(int x, int y)) {
    TYcImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.At(x, y) = GreyToYc(level(x, y));
    return image;
}

double LevelOf(const PIXEL_YC &p) { return YcToGrey(p); }

int Level8(const PIXEL_YC &p) { return int(std::clamp<long>(RoundHalfAway(YcToGrey(p)), 0, 255)); }

namespace {

constexpr int Dark = 30, Bright = 220, Background = 40;

// The output position, interpolated, where the row rises through `level`:
// the first such place before `before`, or the last one when `last`
// (a ringing lobe further out may cross the 10 % level too).
double Crossing(const std::vector<double> &row, double level, size_t before, bool last) {
    double found = -1.0;
    for (size_t x = 1; x < before && x < row.size(); ++x)
        if (row[x] >= level && row[x - 1] < level) {
            found = double(x - 1) + (level - row[x - 1]) / (row[x] - row[x - 1]);
            if (!last) break;
        }
    return found;
}

}  // namespace

EdgeMeasure MeasureEdge(const TQualityHost &host, const std::string &kernel) {
    const TYcImage src = GreyImage(64, 8, [](int x, int) { return x < 32 ? 30.0 : 220.0; });
    const TYcImage out = host.Resize(src, 256, 32, "Lanczos", 3, kernel);
    std::vector<double> row;
    int low = 255, high = 0;
    for (int x = 0; x < out.Width; ++x) {
        const PIXEL_YC &p = out.At(x, out.Height / 2);
        row.push_back(LevelOf(p));
        low = std::min(low, Level8(p));
        high = std::max(high, Level8(p));
    }
    const double span = Bright - Dark;
    const double top = Crossing(row, Dark + 0.9 * span, row.size(), false);
    const double rise = top - Crossing(row, Dark + 0.1 * span, size_t(top) + 1, true);
    return EdgeMeasure{Dark - low, high - Bright, rise / 4.0};
}

int MeasureMoat(const TQualityHost &host, const std::string &kernel) {
    const TYcImage src =
        GreyImage(33, 33, [](int x, int y) { return x == 16 && y == 16 ? 255.0 : 40.0; });
    const TYcImage out = host.Resize(src, 132, 132, "Lanczos", 3, kernel);
    int low = 255;
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x) {
            const double sx = (x + 0.5) / 4 - 0.5 - 16, sy = (y + 0.5) / 4 - 0.5 - 16;
            const double d = std::sqrt(sx * sx + sy * sy);
            if (d >= 1.2 && d <= 4.0) low = std::min(low, Level8(out.At(x, y)));
        }
    return Background - low;
}

std::vector<int> LostCodes(const TQualityHost &host, const std::string &kernel) {
    // 16 × 16 fields of 24 × 24 pixels, code 16 × row + column; a 2:1
    // reduction's Lanczos 3 reaches 6 source pixels, and each field's
    // middle output lies 12 from its edges.
    const TYcImage src =
        GreyImage(384, 384, [](int x, int y) { return double(16 * (y / 24) + x / 24); });
    const TYcImage out = host.Resize(src, 192, 192, "Lanczos", 3, kernel);
    std::vector<int> lost;
    for (int code = 0; code < 256; ++code)
        if (Level8(out.At(6 + 12 * (code % 16), 6 + 12 * (code / 16))) != code)
            lost.push_back(code);
    return lost;
}

double LargestRampStep(const TQualityHost &host, const std::string &kernel) {
    const TYcImage src = GreyImage(1024, 8, [](int x, int) { return 40.0 * x / 1023; });
    const TYcImage out = host.Resize(src, 512, 4, "Lanczos", 3, kernel);
    double step = 0;
    for (int x = 1; x < out.Width; ++x)
        step = std::max(step, std::fabs(LevelOf(out.At(x, 2)) - LevelOf(out.At(x - 1, 2))));
    return step;
}

}  // namespace quality_test
