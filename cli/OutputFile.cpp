#include "cli/OutputFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "cli/HostError.h"

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
    if (fs::is_directory(fs::status(target, ec))) Fail("is a folder", 0);
    if (IsWrittenInPlace(path)) {
        FFile = std::fopen(path.c_str(), "wb");
        if (!FFile) Fail(std::string("cannot be opened for writing (") + std::strerror(errno) + ")", 0);
        FOwnsFile = true;
        return;
    }
    if (!fs::is_directory(target.parent_path(), ec)) Fail("no such folder", 0);
    FReplacement = std::make_unique<platform::TFileReplacement>(target.string());
    if (!FReplacement->IsOpen()) Fail("cannot create a file in its folder", 0);
    SetPending(FReplacement->TemporaryName());
}

TOutputFile::~TOutputFile() { Discard(); }

void TOutputFile::Discard() {
    if (FOwnsFile && FFile) std::fclose(FFile);
    FFile = nullptr;
    if (FReplacement) {
        SetPending("");
        FReplacement.reset();
    }
}

void TOutputFile::Fail(const std::string &fault, int error) {
    Discard();
    throw THostError(FPath + ": " + (error ? fault + " (" + std::strerror(error) + ")" : fault));
}

void TOutputFile::Write(const void *bytes, std::size_t size) {
    if (FReplacement) {
        if (!FReplacement->Write(bytes, size)) Fail("write failed", FReplacement->Error());
        return;
    }
    if (!FFile) Fail("written after it was closed", 0);
    if (size && std::fwrite(bytes, 1, size, FFile) != size) Fail("write failed", errno);
}

void TOutputFile::Flush() {
    if (FReplacement) {
        if (!FReplacement->Flush()) Fail("write failed", FReplacement->Error());
    } else if (FFile && std::fflush(FFile) != 0) {
        Fail("write failed", errno);
    }
}

void TOutputFile::Commit() {
    if (FReplacement) {
        if (!FReplacement->Commit()) Fail("write failed", FReplacement->Error());
        SetPending("");
        FReplacement.reset();
        return;
    }
    if (!FFile) Fail("written after it was closed", 0);
    const bool flushed = std::fflush(FFile) == 0 && !std::ferror(FFile);
    const int error = errno;
    const bool closed = !FOwnsFile || std::fclose(FFile) == 0;
    FFile = nullptr;
    if (!flushed || !closed) Fail("write failed", flushed ? errno : error);
}

void RemoveTemporaryOnSignal() {
    std::signal(SIGINT, OnTerminatingSignal);
    std::signal(SIGTERM, OnTerminatingSignal);
}

void WriteFileAtomically(const std::string &path, const std::string &bytes) {
    TOutputFile file(path);
    file.Write(bytes);
    file.Commit();
}
