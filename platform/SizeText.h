// Sizes as text, everywhere one is shown or read: "WxH".
#pragma once
#include <cstdint>
#include <string>
#include <utility>

// "WxH" with a lowercase x and two positive decimal integers; (0, 0) otherwise.
std::pair<int32_t, int32_t> ParseSize(const std::string &text);
// The text ParseSize reads back.
std::string FormatSize(int32_t width, int32_t height);
