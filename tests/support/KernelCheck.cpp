#include "tests/support/KernelCheck.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "tests/support/TestFrames.h"

namespace testing_support {
namespace {

// The source frame: in a guarded test frame, or ending at a page boundary.
class TSourceFrame {
public:
    TSourceFrame(const KernelCase &c, int32_t maxH) : FPitch(c.geometry.maxWidth) {
        const size_t bytes = size_t(FPitch) * maxH * sizeof(PIXEL_YC);
        if (c.srcAtPageEnd) {
            FPage = std::make_unique<TPageEndBlock>(bytes);
            FPixels = static_cast<PIXEL_YC *>(FPage->Data());
        } else {
            FFrame = std::make_unique<TTestFrame>(FPitch, maxH, c.srcOffset);
            FPixels = FFrame->Pixels();
        }
        FillRandomPixels(FPixels, FPitch, FPitch, maxH, c.seed);
    }
    const PIXEL_YC *Pixels() const { return FPixels; }

private:
    int32_t FPitch;
    std::unique_ptr<TPageEndBlock> FPage;
    std::unique_ptr<TTestFrame> FFrame;
    PIXEL_YC *FPixels;
};

}  // namespace

testing::AssertionResult MatchesReference(const LinearFilterPluginInfo &kernel, const KernelCase &c,
                                          const TapTable &columns, const TapTable &rows,
                                          const KernelModel &model, reference_model::Stats *stats) {
    const Geometry &g = c.geometry;
    const int32_t maxH = c.maxHeight ? c.maxHeight : std::max(g.srcHeight, g.dstHeight);
    TSourceFrame src(c, maxH);
    TTestFrame dst(g.maxWidth, maxH, c.dstOffset);
    TKernelContext context(kernel, g, c.threads, columns, rows);
    if (c.toLinear) context.Context().toLinear = c.toLinear;
    if (!RunProcess(kernel, context.Context(), dst.Pixels(), src.Pixels(), c.threads,
                    c.callerMxcsr))
        return testing::AssertionFailure()
               << "the caller's MXCSR " << c.callerMxcsr << " was not restored";

    reference_model::Job job;
    job.src = src.Pixels();
    job.srcPitch = g.maxWidth;
    job.srcWidth = g.srcWidth;
    job.srcHeight = g.srcHeight;
    job.hWeights = &context.Context().hWeights;
    job.vWeights = &context.Context().vWeights;
    job.rowUnit = kernel.rowPitch;
    job.toLinear = context.Context().toLinear;
    job.fromLinear = context.Context().fromLinear;
    job.dstWidth = g.dstWidth;
    job.dstHeight = g.dstHeight;
    job.horizontalOrder = model.order;
    job.highQuality = model.highQuality;
    std::vector<PIXEL_YC> expected(size_t(g.dstWidth) * g.dstHeight);
    const reference_model::Stats s = reference_model::Resize(job, expected.data(), g.dstWidth);
    if (stats) *stats = s;

    if (!context.ScratchGuardsIntact())
        return testing::AssertionFailure() << "a per-thread buffer was overrun";
    const testing::AssertionResult outside = dst.UntouchedOutside(g.dstWidth, g.dstHeight);
    if (!outside) return outside;
    return SameImage(expected.data(), g.dstWidth, dst.Pixels(), dst.Pitch(), g.dstWidth,
                     g.dstHeight);
}

}  // namespace testing_support
