#include "host/OfferAnswer.h"

#include <cstring>

#include "abi/FilterOffer.h"
#include "plugins/FilterOffer.h"

BOOL AnswerOffer(const TFilterPluginLists &plugins, int32_t maxWidth, int32_t maxHeight,
                 LPARAM lparam) {
    auto *answer = reinterpret_cast<FILTER_OFFER_TEXT *>(lparam);
    if (!answer) return FALSE;
    TFilterOffer offer;
    offer.Folder = plugins.Folder;
    offer.Settings = plugins.SettingsFile.path;
    const TConfigOffer lists = plugins.Offer(maxWidth, maxHeight);
    offer.WindowFuncs = lists.WindowFuncs;
    offer.Kernels = lists.Kernels;
    for (const TWindowFuncOffer &f : offer.WindowFuncs)
        offer.Remembers.push_back(platform::IsStorableIniKey(settings::FuncKeyPrefix + f.Name));
    const std::string text = EncodeOffer(offer);
    answer->length = int32_t(text.size());
    if (answer->text && answer->capacity >= answer->length)
        std::memcpy(answer->text, text.data(), text.size());
    return TRUE;
}
