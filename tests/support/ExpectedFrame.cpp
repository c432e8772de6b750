#include "tests/support/ExpectedFrame.h"

#include "tests/support/KernelContext.h"
#include "tests/support/ReferenceModel.h"
#include "tests/support/WeightTableView.h"

namespace testing_support {

std::vector<PIXEL_YC> ExpectedFrame(TWeightSetter &builder, const PIXEL_YC *src, int32_t srcPitch,
                                    int32_t sw, int32_t sh, int32_t w, int32_t h,
                                    reference_model::TapOrder horizontalOrder) {
    const OwnedWeightTable hw = BuildTable(builder, sw, w, 48);
    const OwnedWeightTable vw = BuildTable(builder, sh, h, 896);
    const TGammaTables &tables = SharedGammaTables();
    reference_model::Job job;
    job.src = src;
    job.srcPitch = srcPitch;
    job.srcWidth = sw;
    job.srcHeight = sh;
    job.hWeights = &hw.table;
    job.vWeights = &vw.table;
    job.toLinear = tables.GammaToLinear();
    job.fromLinear = tables.LinearToGamma();
    job.dstWidth = w;
    job.dstHeight = h;
    job.horizontalOrder = horizontalOrder;
    std::vector<PIXEL_YC> out(std::size_t(w) * h);
    reference_model::Resize(job, out.data(), w);
    return out;
}

}  // namespace testing_support
