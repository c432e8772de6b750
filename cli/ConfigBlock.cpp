#include "cli/ConfigBlock.h"

#include <cstring>

TFilterConfig MakeConfigBlock(const TToolOptions &options, int width, int height) {
    TFilterConfig block = InitialFilterConfig;
    block.Width = width;
    block.Height = height;
    WriteConfigName(block.WndFuncName, options.Func);
    WriteConfigName(block.FilterPluginName, options.Kernel);
    block.WndFuncParam = options.HasParam ? options.Param : kFilterChoosesParam;
    return block;
}

bool ReadConfigBlock(const std::vector<uint8_t> &bytes, TFilterConfig &block) {
    if (bytes.size() != sizeof(TFilterConfig)) return false;
    std::memcpy(&block, bytes.data(), sizeof block);
    return true;
}
