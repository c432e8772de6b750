#include "cli/ConfigBlock.h"

#include <cstring>
#include <string>

namespace {

// The block's text rule: at most 32 bytes, the rest of the field zero.
void PutName(char (&field)[ConfigNameBytes], const std::string &name) {
    std::memset(field, 0, ConfigNameBytes);
    std::memcpy(field, name.data(), name.size() < ConfigNameBytes ? name.size() : ConfigNameBytes);
}

}  // namespace

TFilterConfig MakeConfigBlock(const TToolOptions &options) {
    TFilterConfig block;
    block.Width = options.Width;
    block.Height = options.Height;
    PutName(block.WndFuncName, options.Func);
    PutName(block.FilterPluginName, options.Kernel);
    block.WndFuncParam = options.HasParam ? options.Param : kFilterChoosesParam;
    return block;
}

bool ReadConfigBlock(const std::vector<uint8_t> &bytes, TFilterConfig &block) {
    if (bytes.size() != sizeof(TFilterConfig)) return false;
    std::memcpy(&block, bytes.data(), sizeof block);
    return true;
}
