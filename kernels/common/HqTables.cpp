// The HQ kernels' table sets and the lock that guards them. Plain scalar
// code of the baseline instruction set, which every thread may run before
// its first tile.
#include "kernels/common/HqTables.h"

#include <string.h>

#include <algorithm>
#include <cmath>

#include "kernels/common/HqCurve.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sched.h>
#endif

namespace kernel_hq {
namespace {

constexpr int32_t BoundaryCount = CodeCount - 1;

// The float 1 + v where log index i starts.
double LogIndexStart(int32_t i) {
    const uint32_t bits = uint32_t(i + LogIndexBase) << LogIndexShift;
    float start;
    memcpy(&start, &bits, sizeof start);
    return start;
}

// Entry i: the boundaries (sorted, none NaN) at or below the middle of
// index i's range.
void FillInverse(const double *sorted, int16_t *table) {
    int32_t k = 0;
    for (int32_t i = 0; i < IndexCount; ++i) {
        const double v = 0.5 * (LogIndexStart(i) + LogIndexStart(i + 1)) - 1.0;
        while (k < BoundaryCount && sorted[k] <= v) ++k;
        table[i] = static_cast<int16_t>(k);
    }
}

HqTables Sets[2];
int32_t Lock = 0;
// The boundaries of the set being built, under the lock.
double LinearBounds[BoundaryCount], SigmoidBounds[BoundaryCount];

void LetOthersRun() {
#ifdef _WIN32
    SwitchToThread();
#else
    sched_yield();
#endif
}

void TakeLock() {
    while (__atomic_exchange_n(&Lock, 1, __ATOMIC_ACQUIRE))
        while (__atomic_load_n(&Lock, __ATOMIC_RELAXED)) LetOthersRun();
}

void DropLock() { __atomic_store_n(&Lock, 0, __ATOMIC_RELEASE); }

void BuildTables(const float *toLinear, HqTables &t) {
    double *const linear = LinearBounds, *const sigmoid = SigmoidBounds;
    for (int32_t c = 1; c < CodeCount; ++c) {
        const double mean = 0.5 * (double(toLinear[c - 1]) + double(toLinear[c]));
        const bool never = std::isnan(mean);
        linear[c - 1] = never ? INFINITY : mean;
        sigmoid[c - 1] = never ? INFINITY : 65535.0 * kernel_hq_curve::Sigmoid(mean / 65535.0);
    }
    std::sort(linear, linear + BoundaryCount);
    std::sort(sigmoid, sigmoid + BoundaryCount);
    FillInverse(linear, t.linearInverse);
    FillInverse(sigmoid, t.sigmoidInverse);
    for (int32_t c = 0; c < CodeCount; ++c)
        t.sigmoidForward[c] =
            float(65535.0 * kernel_hq_curve::Sigmoid(double(toLinear[c]) / 65535.0));
    memcpy(t.handed, toLinear, sizeof t.handed);
}

}  // namespace

const HqTables &AcquireTables(const float *toLinear) {
    for (;;) {
        TakeLock();
        HqTables *free = nullptr;
        for (HqTables &t : Sets) {
            if (t.built && memcmp(t.handed, toLinear, sizeof t.handed) == 0) {
                ++t.holders;
                DropLock();
                return t;
            }
            if (t.holders == 0 && (!free || !t.built)) free = &t;
        }
        if (free) {
            // Built under the lock: the other threads of the frame need
            // the same tables and wait for them anyway.
            free->built = false;
            BuildTables(toLinear, *free);
            free->built = true;
            free->holders = 1;
            DropLock();
            return *free;
        }
        DropLock();
        LetOthersRun();
    }
}

void ReleaseTables(const HqTables &tables) {
    TakeLock();
    --const_cast<HqTables &>(tables).holders;
    DropLock();
}

}  // namespace kernel_hq
