// What the filter offers, as it answers WM_FILTER_OFFER: the lists it
// loaded and where it keeps its settings, so that a host program can check
// a block with the resolver before any frame, and learn afterwards what the
// filter remembered, without loading the plug-ins or writing the settings
// itself.
#pragma once
#include <string>
#include <vector>

#include "plugins/ConfigResolver.h"

struct TFilterOffer {
    std::string Folder;                         // the plug-in folder searched
    std::string Settings;                       // the settings file
    std::vector<TWindowFuncOffer> WindowFuncs;  // in list order
    // Per window function: false where its name cannot be a settings key,
    // so its parameter is never remembered.
    std::vector<bool> Remembers;
    std::vector<std::string> Kernels;  // in list order

    // The lists as the resolver takes them, within the given largest frame.
    TConfigOffer ConfigOffer(int32_t maxWidth, int32_t maxHeight) const;
};

// Fields of NUL-terminated text; no name or path holds a NUL.
std::string EncodeOffer(const TFilterOffer &offer);
// False on anything the encoder does not write.
bool DecodeOffer(const std::string &text, TFilterOffer &offer);
