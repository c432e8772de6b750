#include "resize/NormalWeightSetter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "resize/WeightTableWriter.h"

namespace {

// The source sample whose area holds `centre`, kept inside lo ... hi.
int32_t Nearest(double centre, int32_t lo, int32_t hi) {
    const double f = std::floor(centre);
    if (!(f > lo)) return lo;
    return f < hi ? int32_t(f) : hi;
}

// Writes one output position after another: samples the window at each
// tap, folds taps beyond the edges onto the edge samples, normalises the
// sum to 1 and stores float32 weights.
class TPositionWriter {
public:
    TPositionWriter(const WindowFuncPluginInfo *info, void *context, WeightTable *table,
                    int32_t srcSize, int32_t dstSize, int32_t unit, int64_t taps)
        : FInfo(info),
          FContext(context),
          FTable(*table, dstSize, taps, unit),
          FSrcSize(srcSize),
          FTaps(int32_t(taps)),
          FScratch(std::size_t(taps)) {}

    // `nextDistance()` yields the distance of taps j0, j0 + 1, ... in turn;
    // `centre` is the position's centre in source samples.
    template <class NextDistance>
    void Write(int32_t j0, double centre, NextDistance nextDistance) {
        const int32_t j1 = j0 + FTaps - 1;
        const int32_t lo = std::max(j0, 0);
        const int32_t hi = std::min(j1, FSrcSize - 1);
        const int32_t n = hi - lo + 1;
        float *weights = FTable.Next(lo, n);
        const double sum = Sample(j0, j1, lo, n, nextDistance);
        if (!Normalise(weights, n, sum)) {
            std::fill(weights, weights + n, 0.0f);
            weights[Nearest(centre, lo, hi) - lo] = 1.0f;
        }
    }

private:
    // The sum is taken over the folded values that are stored: summed tap by
    // tap, a huge value that later cancels would swallow the small ones before
    // it and leave the stored weights summing to something else than 1.
    template <class NextDistance>
    double Sample(int32_t j0, int32_t j1, int32_t lo, int32_t n, NextDistance &nextDistance) {
        FScratch[0] = 0;
        FScratch[std::size_t(n - 1)] = 0;
        for (int32_t j = j0; j <= j1; ++j) {
            double w = FInfo->Weight(nextDistance(), FContext);
            // A value that is not a number cannot be weighed; it counts as 0.
            if (!std::isfinite(w)) w = 0;
            if (j <= 0)
                FScratch[0] += w;
            else if (j < FSrcSize)
                FScratch[std::size_t(j - lo)] = w;
            else
                FScratch[std::size_t(n - 1)] += w;
        }
        double sum = 0;
        for (int32_t k = 0; k < n; ++k) sum += FScratch[std::size_t(k)];
        return sum;
    }

    // False when the taps cannot be normalised to finite weights.
    bool Normalise(float *weights, int32_t n, double sum) {
        if (sum == 0 || !std::isfinite(sum)) return false;
        for (int32_t k = 0; k < n; ++k) {
            weights[k] = float(FScratch[std::size_t(k)] / sum);
            if (!std::isfinite(weights[k])) return false;
        }
        return true;
    }

    const WindowFuncPluginInfo *FInfo;
    void *FContext;
    TWeightTableWriter FTable;
    int32_t FSrcSize;
    int32_t FTaps;
    std::vector<double> FScratch;
};

// Without a window function: each position takes its nearest source sample.
// Without a source there is nothing to point at, so no position at all.
void BuildNearest(WeightTable *table, int32_t srcSize, int32_t dstSize, int32_t unit) {
    if (srcSize < 1) dstSize = 0;
    TWeightTableWriter writer(*table, dstSize, 1, unit);
    for (int32_t i = 0; i < dstSize; ++i) {
        const double centre = (i + 0.5) * srcSize / dstSize;
        writer.Next(Nearest(centre, 0, srcSize - 1), 1)[0] = 1.0f;
    }
}

}  // namespace

TNormalWeightSetter::~TNormalWeightSetter() { ReleaseWindowFunc(); }

bool TNormalWeightSetter::SetWindowFunc(const WindowFuncPluginInfo *info, int32_t param) {
    ReleaseWindowFunc();
    if (!info || !info->CreateContext || !info->Weight || !info->GetRadius || !info->DestroyContext)
        return false;
    void *context = info->CreateContext(param);
    const int32_t radius = info->GetRadius(context);
    if (radius < 1 || radius > MaxFilterRadius) {
        info->DestroyContext(context);
        return false;
    }
    FInfo = info;
    FFuncContext = context;
    FRadius = radius;
    return context != nullptr;
}

void TNormalWeightSetter::ReleaseWindowFunc() {
    if (!FInfo) return;
    FInfo->DestroyContext(FFuncContext);
    FInfo = nullptr;
    FFuncContext = nullptr;
    FRadius = 0;
}

// Distances in output samples: the window is widened by S / D.
void TNormalWeightSetter::SetReduceWeights(WeightTable *table, int32_t srcSize, int32_t dstSize,
                                           int32_t unit) {
    if (!FInfo || srcSize < 1 || dstSize < 1) return BuildNearest(table, srcSize, dstSize, unit);
    const int64_t taps = (2 * int64_t(FRadius) * srcSize + dstSize - 1) / dstSize;
    TPositionWriter writer(FInfo, FFuncContext, table, srcSize, dstSize, unit, taps);
    const double s = srcSize, d = dstSize;
    for (int32_t i = 0; i < dstSize; ++i) {
        const int32_t j0 = int32_t(std::floor((double(i - FRadius) + 0.5) * s / d + 0.5));
        const double centre = (i + 0.5) * s / d;
        writer.Write(j0, centre, [&, j = j0]() mutable {
            const double x = (j + 0.5) * d / s - (i + 0.5);
            ++j;
            return x;
        });
    }
}

// Distances in source samples.
void TNormalWeightSetter::SetEnlargeWeights(WeightTable *table, int32_t srcSize, int32_t dstSize,
                                            int32_t unit) {
    if (!FInfo || srcSize < 1 || dstSize < 1) return BuildNearest(table, srcSize, dstSize, unit);
    const int64_t taps = 2 * int64_t(FRadius);
    TPositionWriter writer(FInfo, FFuncContext, table, srcSize, dstSize, unit, taps);
    for (int32_t i = 0; i < dstSize; ++i) {
        const double centre = (i + 0.5) * srcSize / dstSize;
        const int32_t j0 = int32_t(std::floor(centre - FRadius + 0.5));
        writer.Write(j0, centre, [x = (j0 + 0.5) - centre]() mutable {
            const double current = x;
            x += 1.0;
            return current;
        });
    }
}
