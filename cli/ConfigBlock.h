// The filter's saved block (abi/FilterConfig.h) as the tool restores it,
// the way an editor loading a project would.
#pragma once
#include <cstdint>
#include <vector>

#include "cli/CommandLine.h"
#include "abi/FilterConfig.h"

// WndFuncParam when no --param is given: below every signed 16-bit limit, so
// the filter replaces it with the value it remembers for the function.
constexpr int32_t kFilterChoosesParam = INT32_MIN;

TFilterConfig MakeConfigBlock(const TToolOptions &options, int width, int height);
// A block read back from the plug-in; false when `bytes` is no such block.
bool ReadConfigBlock(const std::vector<uint8_t> &bytes, TFilterConfig &block);
