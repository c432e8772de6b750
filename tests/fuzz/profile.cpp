// The settings file reader and writer on arbitrary file contents, then reads
// and writes of arbitrary sections and keys. Every value a read or write
// establishes must read back the same after each later write to another key.
// Each input starts as a new run would: the file is rewritten from outside,
// so what an earlier input read is forgotten.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Profile.h"
#include "platform/SameText.h"
#include "platform/posix/IniText.h"
#include "platform/posix/SettingsFile.h"

namespace {

using platform::ReadIniString;
using platform::WriteIniString;
namespace ini = platform::ini;

const std::string &FilePath() {
    static const std::string path = [] {
        const char *shm = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : nullptr;
        const char *dir = shm ? shm : std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
        return std::string(dir) + "/morvane-profile-fuzz-" + std::to_string(getpid()) + ".ini";
    }();
    return path;
}

// libFuzzer ends a timed run with exit(), so the file goes with the process.
const struct TRemoveFile {
    std::string path = FilePath();
    ~TRemoveFile() { unlink(path.c_str()); }
} RemoveFile;

constexpr std::size_t WholeValue = 1 << 20;
const std::string Absent = "\x01(absent)";

struct TKnown {
    std::string section, key, value;
};

bool Same(const TKnown &k, const std::string &section, const std::string &key) {
    return platform::SameText(ini::TrimBlanks(k.section), ini::TrimBlanks(section)) &&
           platform::SameText(ini::TrimBlanks(k.key), ini::TrimBlanks(key));
}

// Names and values a line-based file can hold: no line break, and a key line
// that reads back as that key rather than as a header or another key.
bool Representable(const std::string &section, const std::string &key, const std::string &value) {
    const std::string name = ini::TrimBlanks(key);
    return (section + key + value).find('\n') == std::string::npos &&
           name.find('=') == std::string::npos && (name.empty() || name[0] != '[');
}

void Check(bool ok, const char *what) {
    if (ok) return;
    std::fprintf(stderr, "profile: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string &file = FilePath();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << in.ConsumeRandomLengthString(4096);
    }
    platform::TIniReads reads;
    std::vector<TKnown> known;
    bool predictable = true;
    for (int op = 0; op < 16 && in.remaining_bytes() > 0; ++op) {
        const bool write = in.ConsumeBool();
        const std::string section = in.ConsumeRandomLengthString(24);
        const std::string key = in.ConsumeRandomLengthString(24);
        const std::string value = in.ConsumeRandomLengthString(64);
        if (!write) {
            const std::size_t buffer = in.ConsumeIntegralInRange<std::size_t>(0, 80);
            const std::string whole = ReadIniString(file, section, key, Absent, WholeValue, reads);
            const std::string cut = ReadIniString(file, section, key, value, buffer, reads);
            if (whole != Absent)
                Check(cut == whole.substr(0, buffer ? buffer - 1 : 0), "cut value");
            if (!predictable) continue;
            bool seen = false;
            for (const TKnown &k : known)
                if (Same(k, section, key)) seen = true;
            if (!seen) known.push_back({section, key, whole});
            continue;
        }
        // A key that could never be read back is refused and nothing changes.
        const bool written = WriteIniString(file, section, key, value, reads);
        Check(written == platform::IsStorableIniKey(key),
              "write failed or an unreadable key was written");
        if (!written) continue;
        if (!Representable(section, key, value)) predictable = false;
        if (!predictable) continue;
        const std::string expected =
            ini::TrimBlanks(key).empty() ? Absent : ini::Unquote(ini::TrimBlanks(value));
        bool replaced = false;
        for (TKnown &k : known)
            if (Same(k, section, key)) k.value = expected, replaced = true;
        if (!replaced) known.push_back({section, key, expected});
        for (const TKnown &k : known)
            Check(ReadIniString(file, k.section, k.key, Absent, WholeValue, reads) == k.value,
                  "a value changed or was lost");
    }
    return 0;
}
