#include "host/Settings.h"

#include <vector>

#include "abi/FilterConfig.h"
#include "platform/SizeText.h"
#include "platform/CommaText.h"
#include "platform/Paths.h"
#include "platform/Profile.h"

namespace settings {

TSettingsFile SettingsFileFor(const std::string &modulePath) {
    return {
        platform::ExtractFileDir(modulePath) + FileName, platform::ExtractBaseName(modulePath), {}};
}

std::string DefaultSizeList() {
    return FormatSize(InitialFilterConfig.Width, InitialFilterConfig.Height);
}

std::string DefaultFilterName(const std::string &section) {
    return section == "Morvane" ? DeliveredFilterName : section;
}

std::string Read(TSettingsFile &file, const std::string &key, const std::string &fallback) {
    // The profile functions cut what does not fit and may stop one byte short
    // of the end rather than split a double-byte character: only a value that
    // leaves two bytes of the buffer free is surely whole.
    for (std::size_t size = ValueBufferBytes;; size *= 2) {
        std::string value =
            platform::ReadIniString(file.path, file.section, key, fallback, size, file.reads);
        if (value.size() + 2 < size || size >= MaxValueBytes) return value;
    }
}

bool Write(TSettingsFile &file, const std::string &key, const std::string &value) {
    return platform::WriteIniString(file.path, file.section, key, value, file.reads);
}

TFuncSetting ParseFuncSetting(const std::string &value, int16_t paramDefault) {
    TFuncSetting result;
    result.param = paramDefault;
    const std::vector<std::string> fields = SplitCommaText(value);
    if (fields.size() != 3) return result;
    int32_t flag = 1;
    if (!ParseInt32(fields[0], flag)) flag = 1;
    result.enabled = flag == 1;
    int32_t param;
    if (ParseInt32(fields[1], param)) result.param = int16_t(uint16_t(uint32_t(param)));
    return result;
}

std::string FormatFuncSetting(int16_t param) { return "1," + std::to_string(param) + ",0"; }

}  // namespace settings
