#include "resize/PluginSet.h"

TWindowFuncOffer FuncOffer(const WindowFuncPluginInfo &info, int16_t remembered) {
    return {info.name,     info.paramName != nullptr, info.paramMin,
            info.paramMax, info.paramDefault,         remembered};
}

TConfigOffer TPluginSet::Offer(int32_t maxWidth, int32_t maxHeight) const {
    TConfigOffer offer;
    for (int32_t i = 0; i < WndFuncPlugins.Count(); ++i) {
        const WindowFuncPluginInfo &info = *WndFuncPlugins.Items(i);
        // Lists loaded without the settings remember each function's default.
        const bool remembered = std::size_t(i) < WndFuncParams.size();
        offer.WindowFuncs.push_back(
            FuncOffer(info, remembered ? WndFuncParams[i] : info.paramDefault));
    }
    for (int32_t i = 0; i < FilterPlugins.Count(); ++i)
        offer.Kernels.push_back(FilterPlugins.Items(i)->name);
    offer.MaxWidth = maxWidth;
    offer.MaxHeight = maxHeight;
    return offer;
}
