// The saved block, as the resolver reads it, into the driver's weight
// builder and kernel.
#include <cstring>
#include <memory>

#include "host/PluginMain.h"
#include "plugins/ConfigResolver.h"
#include "resize/AreaAverage.h"
#include "resize/NormalWeightSetter.h"

namespace {

bool IsApplied() {
    const TFilterState &s = FilterState;
    return s.AppliedConfig &&
           std::memcmp(&*s.AppliedConfig, &s.FilterConfig, sizeof s.FilterConfig) == 0;
}

TConfigResolution Resolve() {
    const TFilterState &s = FilterState;
    return ResolveConfig(s.FilterConfig, s.Plugins.Offer(s.HostMaxWidth, s.HostMaxHeight));
}

// Null when frames are to pass: no weighting, or a window function that
// refuses to work (its radius is outside what the kernels hold).
std::unique_ptr<TWeightSetter> BuilderFor(const TConfigRun &run) {
    if (run.Weighting == TWeighting::AreaAverage) return std::make_unique<TAreaAverage>();
    if (run.Weighting != TWeighting::WindowFunc) return nullptr;
    auto builder = std::make_unique<TNormalWeightSetter>();
    builder->SetWindowFunc(FilterState.Plugins.WndFuncPlugins.Items(run.WindowFunc), run.Param);
    if (!builder->HasWindowFunc()) return nullptr;
    return builder;
}

}  // namespace

void SyncFuncParam() {
    const TConfigResolution r = Resolve();
    FilterState.FilterConfig.WndFuncParam = r.Synced.WndFuncParam;
    if (r.RememberFunc >= 0) FilterState.Plugins.WndFuncParams[r.RememberFunc] = r.Remembered;
}

void ApplyConfig() {
    TFilterState &s = FilterState;
    const TConfigRun run = Resolve().Run;
    if (run.Applies && s.ResizeDriver) {
        // Everything that may fail comes first: a failure keeps the driver as it was.
        std::unique_ptr<TWeightSetter> builder = BuilderFor(run);
        s.ResizeDriver->SetWeightSetter(builder.release());
        s.ResizeDriver->SetKernel(s.Plugins.FilterPlugins.Items(run.Kernel));
    }
    s.AppliedConfig = s.FilterConfig;
}

void UpdateConfig() {
    // The dialog shows the block once func_update's rule has held it, and
    // what it corrects is applied with the rest, once.
    SyncFuncParam();
    if (FilterState.ConfigDialog) FilterState.ConfigDialog->LoadFromConfig();
    ApplyConfig();
}

void UpdateConfigIfChanged() {
    if (!IsApplied()) UpdateConfig();
}
