// Sizes as the size list holds them: "WxH".
#pragma once
#include <cstdint>
#include <string>
#include <utility>

// The size a filter starts with, and the one entry of a size list that
// would otherwise hold none.
constexpr int32_t InitialWidth = 512;
constexpr int32_t InitialHeight = 384;

// "WxH" with a lowercase x and two positive decimal integers; (0, 0) otherwise.
std::pair<int32_t, int32_t> ParseSize(const std::string &text);
// The text ParseSize reads back.
std::string FormatSize(int32_t width, int32_t height);
