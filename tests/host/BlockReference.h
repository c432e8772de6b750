// What the filter must make of a frame for the saved block as it stands,
// worked out with the reference model: names looked up as the filter looks
// them up (exactly; an unknown window function is the first one with its
// own default parameter, an unknown kernel the first kernel), the area
// average built in, and Varnoth's horizontal tap order for its frames.
#pragma once
#include <string>
#include <vector>

#include "abi/FilterConfig.h"
#include "abi/HostAbi.h"
#include "standin/YcImage.h"
#include "resize/PluginSet.h"

namespace host_test {

// An installation's plug-in folder, listed as the filter lists it.
struct TLists : TPluginSet {
    explicit TLists(const std::string &folder) { LoadFromDir(folder); }
};

// `src` is sw × sh pixels, `pitch` per line; the host's largest frame is
// maxW × maxH. The result has the block's size, or the source's when the
// frame passes unchanged.
std::vector<PIXEL_YC> ExpectedForBlock(const TLists &lists, const TFilterConfig &block,
                                       const PIXEL_YC *src, int pitch, int sw, int sh, int maxW,
                                       int maxH);
TYcImage ExpectedForBlock(const TLists &lists, const TFilterConfig &block, const TYcImage &src,
                          int maxW, int maxH);

}  // namespace host_test
