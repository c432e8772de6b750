#include "tests/host/BlockReference.h"

#include <cstring>
#include <optional>

#include "dialog/FilterProtocol.h"
#include "plugins/PluginName.h"
#include "resize/AreaAverage.h"
#include "resize/NormalWeightSetter.h"
#include "tests/support/ExpectedFrame.h"

namespace host_test {

namespace {

reference_model::TapOrder OrderOf(const TFilterPluginList &kernels, const TFilterConfig &block) {
    const int listed = kernels.IndexOf(ReadConfigName(block.FilterPluginName));
    return std::string(kernels.Items(listed < 0 ? 0 : listed)->name) == "AVX"
               ? reference_model::TapOrder::EvenOddPairs
               : reference_model::TapOrder::InOrder;
}

std::vector<PIXEL_YC> Unchanged(const PIXEL_YC *src, int pitch, int sw, int sh) {
    std::vector<PIXEL_YC> same(std::size_t(sw) * sh);
    for (int y = 0; y < sh; ++y)
        std::memcpy(&same[std::size_t(y) * sw], src + std::ptrdiff_t(y) * pitch, sw * sizeof *src);
    return same;
}

// Nothing when the frame passes unchanged.
std::optional<std::vector<PIXEL_YC>> Resized(const TLists &lists, const TFilterConfig &block,
                                             const PIXEL_YC *src, int pitch, int sw, int sh,
                                             int maxW, int maxH) {
    const TWndFuncPluginList &funcs = lists.WndFuncPlugins;
    const int w = block.Width, h = block.Height;
    if (lists.FilterPlugins.Count() == 0 || w < 1 || h < 1 || w > maxW || h > maxH ||
        (w == sw && h == sh))
        return std::nullopt;
    const reference_model::TapOrder order = OrderOf(lists.FilterPlugins, block);
    const std::string name = ReadConfigName(block.WndFuncName);
    if (name == AreaAverageName) {
        TAreaAverage area;
        return testing_support::ExpectedFrame(area, src, pitch, sw, sh, w, h, order);
    }
    if (funcs.Count() == 0) return std::nullopt;
    const int index = funcs.IndexOf(name);
    const WindowFuncPluginInfo *info = funcs.Items(index < 0 ? 0 : index);
    const int param = index < 0 ? info->paramDefault : block.WndFuncParam;
    TNormalWeightSetter builder;
    builder.SetWindowFunc(info, uint16_t(param));
    if (!builder.HasWindowFunc()) return std::nullopt;
    return testing_support::ExpectedFrame(builder, src, pitch, sw, sh, w, h, order);
}

}  // namespace

std::vector<PIXEL_YC> ExpectedForBlock(const TLists &lists, const TFilterConfig &block,
                                       const PIXEL_YC *src, int pitch, int sw, int sh, int maxW,
                                       int maxH) {
    auto resized = Resized(lists, block, src, pitch, sw, sh, maxW, maxH);
    return resized ? std::move(*resized) : Unchanged(src, pitch, sw, sh);
}

TYcImage ExpectedForBlock(const TLists &lists, const TFilterConfig &block, const TYcImage &src,
                          int maxW, int maxH) {
    auto resized =
        Resized(lists, block, src.Pixels.data(), src.Width, src.Width, src.Height, maxW, maxH);
    if (!resized) return src;
    TYcImage out(block.Width, block.Height);
    out.Pixels = std::move(*resized);
    return out;
}

}  // namespace host_test
