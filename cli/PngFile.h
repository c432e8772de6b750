// PNG through libpng: 8 or 16 bits, grey or RGB; palettes and lower depths
// expanded to 8 bits, alpha dropped with a warning. Builds without libpng
// have IsPngAvailable() false and every call throws.
#pragma once
#include <ostream>
#include <string>

#include "cli/Picture.h"

bool IsPngAvailable();
// Throws THostError "<path>: <fault>". A dropped alpha channel is one line
// on `warnings`.
TPicture ReadPng(const std::string &path, std::ostream &warnings);
// The whole file as bytes, written by the caller all at once. A colour
// profile libpng refuses is left out, and `droppedProfile` says why.
std::string EncodePng(const TPicture &picture, std::string *droppedProfile = nullptr);
