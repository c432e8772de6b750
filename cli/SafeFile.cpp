#include "cli/SafeFile.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "cli/HostError.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

// Beside the target, so that the rename never crosses file systems.
fs::path TemporaryBeside(const fs::path &target) {
    std::random_device device;
    std::mt19937_64 rng(device() ^ uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    char tag[20];
    std::snprintf(tag, sizeof tag, "%016llx", static_cast<unsigned long long>(rng()));
    return target.parent_path() / ("." + target.filename().string() + "." + tag + ".tmp");
}

bool ReplaceFile(const fs::path &from, const fs::path &to) {
#ifdef _WIN32
    return MoveFileExA(from.string().c_str(), to.string().c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

void WriteFileAtomically(const std::string &path, const std::string &bytes) {
    const fs::path target = fs::absolute(fs::path(path));
    const auto fail = [&](const std::string &fault) { throw THostError(path + ": " + fault); };
    std::error_code ec;
    if (fs::is_directory(target, ec)) fail("is a folder");
    if (!fs::is_directory(target.parent_path(), ec)) fail("no such folder");

    const fs::path temporary = TemporaryBeside(target);
    bool written;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) fail("cannot create a file in its folder");
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.close();
        written = !out.fail();
    }
    if (!written) {
        fs::remove(temporary, ec);
        fail("write failed (disk full?)");
    }
    if (!ReplaceFile(temporary, target)) {
        fs::remove(temporary, ec);
        fail("cannot replace the file");
    }
}
