// Turning the names in the saved block into a weight builder and a kernel.
#include <cstring>
#include <memory>

#include "host/PluginMain.h"
#include "resize/AreaAverage.h"
#include "resize/NormalWeightSetter.h"

namespace {

bool HavePlugins() {
    return WndFuncPlugins && WndFuncPlugins->Count() > 0 && FilterPlugins &&
           FilterPlugins->Count() > 0;
}

// A builder for the saved window function, or null when the function refuses
// to work (its radius is outside what the kernels hold): frames then pass.
TWeightSetter *WindowFuncBuilder() {
    const int32_t index = WndFuncPlugins->IndexOf(ReadConfigName(FilterConfig.WndFuncName));
    const WindowFuncPluginInfo *info = WndFuncPlugins->Items(index < 0 ? 0 : index);
    // The 16-bit parameter is handed on widened without its sign.
    const int32_t param = index < 0 ? uint16_t(info->paramDefault)
                                    : uint16_t(FilterConfig.WndFuncParam);
    auto builder = std::make_unique<TNormalWeightSetter>();
    builder->SetWindowFunc(info, param);
    return builder->HasWindowFunc() ? builder.release() : nullptr;
}

}  // namespace

void SyncFuncParam() {
    if (!WndFuncPlugins || WndFuncPlugins->Count() == 0) return;
    const int32_t index = WndFuncPlugins->IndexOf(ReadConfigName(FilterConfig.WndFuncName));
    if (index < 0) return;
    const WindowFuncPluginInfo *info = WndFuncPlugins->Items(index);
    if (info->paramMin <= FilterConfig.WndFuncParam && FilterConfig.WndFuncParam <= info->paramMax)
        WndFuncParams[index] = int16_t(FilterConfig.WndFuncParam);
    else
        FilterConfig.WndFuncParam = WndFuncParams[index];
}

void ApplyConfig() {
    if (!HavePlugins() || !ResizeDriver) return;
    // Everything that may fail comes first: a failure keeps the driver as it was.
    const int32_t kernel = FilterPlugins->IndexOf(ReadConfigName(FilterConfig.FilterPluginName));
    std::unique_ptr<TWeightSetter> builder(
        ReadConfigName(FilterConfig.WndFuncName) == AreaAverageName ? new TAreaAverage
                                                                    : WindowFuncBuilder());
    ResizeDriver->SetWeightSetter(builder.release());
    ResizeDriver->SetKernel(FilterPlugins->Items(kernel < 0 ? 0 : kernel));
}
