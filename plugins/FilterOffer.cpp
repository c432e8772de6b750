#include "plugins/FilterOffer.h"

#include <cerrno>
#include <cstdlib>

TConfigOffer TFilterOffer::ConfigOffer(int32_t maxWidth, int32_t maxHeight) const {
    TConfigOffer offer;
    offer.WindowFuncs = WindowFuncs;
    offer.Kernels = Kernels;
    offer.MaxWidth = maxWidth;
    offer.MaxHeight = maxHeight;
    return offer;
}

namespace {

const char *const kFolder = "folder", *const kSettings = "settings", *const kFunc = "func",
                  *const kKernel = "kernel";

void Put(std::string &text, const std::string &field) {
    text += field;
    text += '\0';
}

// The encoded fields in order, each read once.
class TFields {
public:
    explicit TFields(const std::string &text) : FText(text) {}
    bool AtEnd() const { return FAt == FText.size(); }
    bool Next(std::string &field) {
        const std::size_t end = FText.find('\0', FAt);
        if (end == std::string::npos) return false;
        field.assign(FText, FAt, end - FAt);
        FAt = end + 1;
        return true;
    }
    bool Next(int16_t &value) {
        std::string field;
        if (!Next(field) || field.empty()) return false;
        char *end = nullptr;
        errno = 0;
        const long v = std::strtol(field.c_str(), &end, 10);
        if (errno || *end || v < INT16_MIN || v > INT16_MAX) return false;
        value = int16_t(v);
        return true;
    }

private:
    const std::string &FText;
    std::size_t FAt = 0;
};

bool DecodeFunc(TFields &fields, TFilterOffer &offer) {
    TWindowFuncOffer func;
    int16_t hasParam = 0, remembers = 0;
    if (!fields.Next(func.Name) || !fields.Next(hasParam) || !fields.Next(func.ParamMin) ||
        !fields.Next(func.ParamMax) || !fields.Next(func.ParamDefault) ||
        !fields.Next(func.Remembered) || !fields.Next(remembers))
        return false;
    func.HasParam = hasParam != 0;
    offer.WindowFuncs.push_back(func);
    offer.Remembers.push_back(remembers != 0);
    return true;
}

}  // namespace

std::string EncodeOffer(const TFilterOffer &offer) {
    std::string text;
    Put(text, kFolder);
    Put(text, offer.Folder);
    Put(text, kSettings);
    Put(text, offer.Settings);
    for (std::size_t i = 0; i < offer.WindowFuncs.size(); ++i) {
        const TWindowFuncOffer &f = offer.WindowFuncs[i];
        Put(text, kFunc);
        Put(text, f.Name);
        for (int v : {int(f.HasParam), int(f.ParamMin), int(f.ParamMax), int(f.ParamDefault),
                      int(f.Remembered), int(i < offer.Remembers.size() && offer.Remembers[i])})
            Put(text, std::to_string(v));
    }
    for (const std::string &k : offer.Kernels) {
        Put(text, kKernel);
        Put(text, k);
    }
    return text;
}

bool DecodeOffer(const std::string &text, TFilterOffer &offer) {
    offer = TFilterOffer();
    TFields fields(text);
    std::string tag;
    while (!fields.AtEnd()) {
        if (!fields.Next(tag)) return false;
        bool ok = false;
        if (tag == kFolder)
            ok = fields.Next(offer.Folder);
        else if (tag == kSettings)
            ok = fields.Next(offer.Settings);
        else if (tag == kFunc)
            ok = DecodeFunc(fields, offer);
        else if (tag == kKernel)
            ok = fields.Next(offer.Kernels.emplace_back());
        if (!ok) return false;
    }
    return true;
}
