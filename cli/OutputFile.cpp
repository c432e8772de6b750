#include "cli/OutputFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>

#include "cli/HostError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// The temporary file a signal handler removes; a fixed buffer, because the
// handler may not allocate. One output is written at a time.
char PendingTemporary[4096];
volatile std::sig_atomic_t HasPending = 0;

void SetPending(const std::string &path) {
    HasPending = 0;
    if (path.size() >= sizeof PendingTemporary) return;
    std::memcpy(PendingTemporary, path.c_str(), path.size() + 1);
    HasPending = !path.empty();
}

extern "C" void OnTerminatingSignal(int signal) {
    if (HasPending) std::remove(PendingTemporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Beside the target, so that the rename never crosses file systems; the
// name is short, so that a target name at the file system's limit still
// has a temporary one.
std::FILE *CreateTemporaryBeside(const fs::path &target, std::string &name) {
    const fs::path folder = target.parent_path();
#ifdef _WIN32
    std::random_device device;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char tag[32];
        std::snprintf(tag, sizeof tag, ".morvane-%08x.tmp", unsigned(device()));
        name = (folder / tag).string();
        std::error_code ec;
        if (fs::exists(name, ec)) continue;
        if (std::FILE *file = std::fopen(name.c_str(), "wb")) return file;
    }
    return nullptr;
#else
    std::string pattern = (folder / ".morvane-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return nullptr;
    name = pattern;
    // mkstemp makes it 0600; an output file gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    return fdopen(fd, "wb");
#endif
}

bool ReplaceFile(const std::string &from, const std::string &to) {
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

bool IsWrittenInPlace(const std::string &path) {
    if (path == "-") return true;
    std::error_code ec;
    const std::string absolute = fs::absolute(fs::path(path), ec).string();
    if (absolute.rfind("/dev/", 0) == 0 || absolute.rfind("/proc/", 0) == 0) return true;
    const fs::file_status status = fs::status(path, ec);
    return fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
}

TOutputFile::TOutputFile(const std::string &path) : FPath(path) {
    if (path == "-") {
        FFile = stdout;
        return;
    }
    std::error_code ec;
    fs::path target = fs::absolute(fs::path(path), ec);
    if (fs::is_symlink(target, ec)) target = fs::weakly_canonical(target, ec);
    FTarget = target.string();
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) Fail("is a folder");
    if (IsWrittenInPlace(path)) {
        FFile = std::fopen(path.c_str(), "wb");
        if (!FFile) Fail(std::string("cannot be opened for writing (") + std::strerror(errno) + ")");
        FOwnsFile = true;
        return;
    }
    if (!fs::is_directory(target.parent_path(), ec)) Fail("no such folder");
    FFile = CreateTemporaryBeside(target, FTemporary);
    if (!FFile) Fail("cannot create a file in its folder");
    FOwnsFile = true;
    SetPending(FTemporary);
}

TOutputFile::~TOutputFile() { Discard(); }

void TOutputFile::Discard() {
    if (FOwnsFile && FFile) std::fclose(FFile);
    FFile = nullptr;
    if (!FTemporary.empty()) {
        SetPending("");
        std::remove(FTemporary.c_str());
        FTemporary.clear();
    }
}

void TOutputFile::Fail(const std::string &fault) {
    Discard();
    throw THostError(FPath + ": " + fault);
}

void TOutputFile::Write(const void *bytes, std::size_t size) {
    if (!FFile) Fail("written after it was closed");
    if (size && std::fwrite(bytes, 1, size, FFile) != size)
        Fail(std::string("write failed (") + std::strerror(errno) + ")");
}

void TOutputFile::Flush() {
    if (FFile && std::fflush(FFile) != 0) Fail(std::string("write failed (") + std::strerror(errno) + ")");
}

void TOutputFile::Commit() {
    if (!FFile) Fail("written after it was closed");
    const bool flushed = std::fflush(FFile) == 0 && !std::ferror(FFile);
    const int error = errno;
    if (!FOwnsFile) {
        FFile = nullptr;
        if (!flushed) Fail(std::string("write failed (") + std::strerror(error) + ")");
        return;
    }
    const bool closed = std::fclose(FFile) == 0;
    FFile = nullptr;
    if (!flushed || !closed) Fail(std::string("write failed (") + std::strerror(error ? error : errno) + ")");
    if (FTemporary.empty()) return;
    if (!ReplaceFile(FTemporary, FTarget)) Fail("cannot replace the file");
    SetPending("");
    FTemporary.clear();
}

void RemoveTemporaryOnSignal() {
    std::signal(SIGINT, OnTerminatingSignal);
    std::signal(SIGTERM, OnTerminatingSignal);
}
