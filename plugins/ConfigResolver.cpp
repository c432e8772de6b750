#include "plugins/ConfigResolver.h"

#include <algorithm>

#include "platform/SameText.h"
#include "platform/SizeText.h"
#include "plugins/PluginName.h"

namespace {

// The filter looks names up exactly, the first of equal names winning.
int32_t ExactIndex(const std::vector<std::string> &names, const std::string &name) {
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : int32_t(it - names.begin());
}

std::vector<std::string> FuncNames(const TConfigOffer &offer) {
    std::vector<std::string> names;
    for (const TWindowFuncOffer &f : offer.WindowFuncs) names.push_back(f.Name);
    return names;
}

TConfigRun Run(const TFilterConfig &block, const TConfigOffer &offer,
               const std::vector<std::string> &funcs) {
    TConfigRun run;
    run.Width = block.Width;
    run.Height = block.Height;
    run.SizeFault = CheckSize(block.Width, block.Height, offer.MaxWidth, offer.MaxHeight);
    if (offer.Kernels.empty()) return run;
    run.Applies = true;
    run.Kernel = ExactIndex(offer.Kernels, ReadConfigName(block.FilterPluginName));
    run.KernelFallback = run.Kernel < 0;
    run.Kernel = std::max(run.Kernel, 0);
    const std::string name = ReadConfigName(block.WndFuncName);
    // The area average is built in: it needs no window-function library.
    if (name == AreaAverageName) {
        run.Weighting = TWeighting::AreaAverage;
        return run;
    }
    if (funcs.empty()) return run;
    const int32_t index = ExactIndex(funcs, name);
    run.Weighting = TWeighting::WindowFunc;
    run.WindowFunc = std::max(index, 0);
    run.FuncFallback = index < 0;
    run.Param =
        index < 0 ? uint16_t(offer.WindowFuncs[0].ParamDefault) : uint16_t(block.WndFuncParam);
    return run;
}

// func_update's rule: a parameter inside the limits is remembered, one
// outside them gives way to the remembered one.
void Sync(const TFilterConfig &block, const TConfigOffer &offer,
          const std::vector<std::string> &funcs, TConfigResolution &r) {
    r.Synced = block;
    const int32_t index = ExactIndex(funcs, ReadConfigName(block.WndFuncName));
    if (index < 0) return;
    const TWindowFuncOffer &func = offer.WindowFuncs[index];
    if (InLimits(func, block.WndFuncParam)) {
        r.RememberFunc = index;
        r.Remembered = int16_t(block.WndFuncParam);
    } else {
        r.Synced.WndFuncParam = func.Remembered;
    }
}

// The dialog lists the window functions, then the area average; a name it
// does not list shows as the first entry.
void ShowFunc(const TConfigOffer &offer, std::vector<std::string> entries, TConfigResolution &r) {
    entries.push_back(AreaAverageName);
    r.FuncEntry = std::max(platform::FindName(entries, ReadConfigName(r.Shown.WndFuncName)), 0);
    r.Shown = WithFuncEntry(r.Shown, offer, r.FuncEntry);
}

// The dialog keeps the kernel as listed; with none listed the name stays.
void ShowKernel(const TConfigOffer &offer, TConfigResolution &r) {
    if (offer.Kernels.empty()) return;
    const int32_t found =
        platform::FindName(offer.Kernels, ReadConfigName(r.Shown.FilterPluginName));
    r.KernelEntry = std::max(found, 0);
    WriteConfigName(r.Shown.FilterPluginName, offer.Kernels[r.KernelEntry]);
}

// A listed size is shown; one that fits is to be listed; any other gives
// way to the first listed.
void ShowSize(const TConfigOffer &offer, TConfigResolution &r) {
    r.SizeEntry = platform::FindName(offer.ListedSizes, FormatSize(r.Shown.Width, r.Shown.Height));
    if (r.SizeEntry >= 0 || r.Run.SizeFault == TSizeFault::None) return;
    r.SizeRefused = r.Run.SizeFault;
    r.SizeEntry = 0;
    const auto [w, h] = ParseSize(offer.ListedSizes.empty() ? std::string() : offer.ListedSizes[0]);
    r.Shown.Width = w;
    r.Shown.Height = h;
}

}  // namespace

TSizeFault CheckSize(int32_t width, int32_t height, int32_t maxWidth, int32_t maxHeight) {
    if (width <= 0 || height <= 0) return TSizeFault::NotASize;
    if (width > maxWidth || height > maxHeight) return TSizeFault::BeyondLargestFrame;
    return TSizeFault::None;
}

bool InLimits(const TWindowFuncOffer &func, int32_t param) {
    return func.ParamMin <= param && param <= func.ParamMax;
}

int16_t HeldToLimits(const TWindowFuncOffer &func, int16_t param) {
    if (!func.HasParam || func.ParamMin > func.ParamMax) return param;
    return std::clamp(param, func.ParamMin, func.ParamMax);
}

TFilterConfig WithFuncEntry(const TFilterConfig &block, const TConfigOffer &offer, int32_t entry) {
    const bool isFunc = entry < int32_t(offer.WindowFuncs.size());
    const std::string name = isFunc ? offer.WindowFuncs[entry].Name : AreaAverageName;
    if (ReadConfigName(block.WndFuncName) == name) return block;
    TFilterConfig chosen = block;
    WriteConfigName(chosen.WndFuncName, name);
    chosen.WndFuncParam = isFunc ? offer.WindowFuncs[entry].Remembered : 0;
    return chosen;
}

TConfigResolution ResolveConfig(const TFilterConfig &block, const TConfigOffer &offer) {
    const std::vector<std::string> funcs = FuncNames(offer);
    TConfigResolution r;
    r.Run = Run(block, offer, funcs);
    Sync(block, offer, funcs, r);
    r.Shown = block;
    if (!offer.DialogShown) return r;
    ShowFunc(offer, funcs, r);
    ShowKernel(offer, r);
    ShowSize(offer, r);
    return r;
}

TConfigRun RunAfterRestore(const TFilterConfig &block, const TConfigOffer &offer) {
    const TConfigResolution updated = ResolveConfig(block, offer);
    TConfigOffer synced = offer;
    if (updated.RememberFunc >= 0)
        synced.WindowFuncs[updated.RememberFunc].Remembered = updated.Remembered;
    const TFilterConfig shown = ResolveConfig(updated.Synced, synced).Shown;
    return ResolveConfig(shown, synced).Run;
}
