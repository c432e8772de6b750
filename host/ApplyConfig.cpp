// Turning the names in the saved block into a weight builder and a kernel.
#include <cstring>
#include <memory>

#include "host/PluginMain.h"
#include "resize/AreaAverage.h"
#include "resize/NormalWeightSetter.h"

namespace {

bool HaveWindowFuncs() { return FilterState.Plugins.WndFuncPlugins.Count() > 0; }

bool HaveKernels() { return FilterState.Plugins.FilterPlugins.Count() > 0; }

bool IsApplied() {
    const TFilterState &s = FilterState;
    return s.AppliedConfig &&
           std::memcmp(&*s.AppliedConfig, &s.FilterConfig, sizeof s.FilterConfig) == 0;
}

// A builder for the saved window function, or null when the function refuses
// to work (its radius is outside what the kernels hold): frames then pass.
TWeightSetter *WindowFuncBuilder() {
    const TFilterState &s = FilterState;
    const TWndFuncPluginList &funcs = s.Plugins.WndFuncPlugins;
    const int32_t index = funcs.IndexOf(ReadConfigName(s.FilterConfig.WndFuncName));
    const WindowFuncPluginInfo *info = funcs.Items(index < 0 ? 0 : index);
    // The 16-bit parameter is handed on widened without its sign.
    const int32_t param =
        index < 0 ? uint16_t(info->paramDefault) : uint16_t(s.FilterConfig.WndFuncParam);
    auto builder = std::make_unique<TNormalWeightSetter>();
    builder->SetWindowFunc(info, param);
    return builder->HasWindowFunc() ? builder.release() : nullptr;
}

}  // namespace

void SyncFuncParam() {
    TFilterState &s = FilterState;
    const TWndFuncPluginList &funcs = s.Plugins.WndFuncPlugins;
    if (funcs.Count() == 0) return;
    const int32_t index = funcs.IndexOf(ReadConfigName(s.FilterConfig.WndFuncName));
    if (index < 0) return;
    const WindowFuncPluginInfo *info = funcs.Items(index);
    int32_t &param = s.FilterConfig.WndFuncParam;
    int16_t &remembered = s.Plugins.WndFuncParams[index];
    if (info->paramMin <= param && param <= info->paramMax)
        remembered = int16_t(param);
    else
        param = remembered;
}

void ApplyConfig() {
    TFilterState &s = FilterState;
    if (HaveKernels() && s.ResizeDriver) {
        // Everything that may fail comes first: a failure keeps the driver as it was.
        const TFilterPluginList &kernels = s.Plugins.FilterPlugins;
        const int32_t kernel = kernels.IndexOf(ReadConfigName(s.FilterConfig.FilterPluginName));
        // The area average is built in; a window function that cannot be had
        // leaves no builder, so frames pass rather than keep an older choice.
        std::unique_ptr<TWeightSetter> builder(
            ReadConfigName(s.FilterConfig.WndFuncName) == AreaAverageName ? new TAreaAverage
            : HaveWindowFuncs()                                           ? WindowFuncBuilder()
                                                                          : nullptr);
        s.ResizeDriver->SetWeightSetter(builder.release());
        s.ResizeDriver->SetKernel(kernels.Items(kernel < 0 ? 0 : kernel));
    }
    s.AppliedConfig = s.FilterConfig;
}

void UpdateConfig() {
    SyncFuncParam();
    ApplyConfig();
    if (!FilterState.ConfigDialog) return;
    FilterState.ConfigDialog->LoadFromConfig();
    if (IsApplied()) return;
    SyncFuncParam();
    ApplyConfig();
}

void UpdateConfigIfChanged() {
    if (!IsApplied()) UpdateConfig();
}
