// The installation's settings file: "Morvane.ini" beside the plug-in, one
// section per plug-in file name.
#pragma once
#include <cstdint>
#include <string>

#include "platform/Profile.h"

namespace settings {

constexpr const char *FileName = "Morvane.ini";
constexpr const char *FilterNameKey = "FilterName";
constexpr const char *PluginDirKey = "PluginDir";
constexpr const char *FuncKeyPrefix = "Func_";
constexpr const char *SizeListKey = "SizeList";
constexpr const char *DefaultPluginDir = "DLL";
// The initial size alone.
std::string DefaultSizeList();
// Values are read into a buffer of this size first, and a larger one as long
// as they do not fit, so that every value is written back whole at exit.
constexpr std::size_t ValueBufferBytes = 2048;
// Beyond this a value is no setting but a damaged file; it is cut here.
constexpr std::size_t MaxValueBytes = std::size_t(1) << 24;

struct TSettingsFile {
    std::string path;           // folder of the plug-in + FileName
    std::string section;        // plug-in file name without folder and extension
    platform::TIniReads reads;  // what this run read of it
};

TSettingsFile SettingsFileFor(const std::string &modulePath);
// The name of the plug-in as delivered: "モルヴァーン" in CP932, the host's code page.
constexpr char DeliveredFilterName[] = "\x83\x82\x83\x8b\x83\x94\x83\x40\x81\x5b\x83\x93";
// The section name, or DeliveredFilterName for the plug-in as delivered.
std::string DefaultFilterName(const std::string &section);

std::string Read(TSettingsFile &file, const std::string &key, const std::string &fallback);
// False when the file could not be written.
bool Write(TSettingsFile &file, const std::string &key, const std::string &value);

// A "Func_" value: only three fields count. The first, the switch, is 1 when
// it is no integer; the second is the remembered parameter, kept in 16 bits.
struct TFuncSetting {
    bool enabled = true;
    int16_t param = 0;
};
TFuncSetting ParseFuncSetting(const std::string &value, int16_t paramDefault);
// Three fields, so the parameter survives the next start.
std::string FormatFuncSetting(int16_t param);

}  // namespace settings
