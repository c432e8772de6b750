#include "platform/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "platform/Paths.h"

namespace platform {

namespace {

// A short name, so that a target name at the file system's length limit
// still has a temporary one; O_EXCL, so that nothing another program made is
// ever written into.
std::FILE *CreateBeside(const std::string &target, std::string &name) {
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    const int pid = _getpid();
    const int flags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT;
    const int mode = _S_IREAD | _S_IWRITE;
#else
    const int pid = getpid();
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    const int mode = 0666;  // narrowed by the umask, as for any new file
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = ExtractFileDir(target) + ".morvane-" + std::to_string(pid) + "-" +
               std::to_string(counter++) + ".tmp";
#ifdef _WIN32
        const int fd = _open(name.c_str(), flags, mode);
#else
        const int fd = open(name.c_str(), flags, mode);
#endif
        if (fd >= 0) {
#ifndef _WIN32
            struct stat old;
            if (stat(target.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
#endif
            if (std::FILE *file = fdopen(fd, "wb")) return file;
            const int error = errno;
            close(fd);
            std::remove(name.c_str());
            errno = error;
            break;
        }
        if (errno != EEXIST) break;
    }
    name.clear();
    return nullptr;
}

bool SyncToDisk(std::FILE *file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool Rename(const std::string &from, const std::string &to) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    errno = EACCES;
    return false;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

int FollowLinks(const std::string &path, std::string &target) {
    target = path;
#ifndef _WIN32
    // As many links as the system itself follows before it calls a path a loop.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(info.st_mode)) return 0;
        std::string link(std::size_t(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t n = readlink(target.c_str(), link.data(), link.size());
        if (n < 0) return errno;
        link.resize(std::size_t(n));
        target = link[0] == '/' ? link : ExtractFileDir(target) + link;
    }
    return ELOOP;
#else
    return 0;
#endif
}

TFileReplacement::TFileReplacement(const std::string &target) : FTarget(target) {
    FFile = CreateBeside(target, FTemporary);
    if (!FFile) FError = errno;
}

TFileReplacement::~TFileReplacement() { Discard(); }

bool TFileReplacement::Fail() {
    if (!FError) FError = errno ? errno : EIO;
    Discard();
    return false;
}

void TFileReplacement::Discard() {
    if (FFile) std::fclose(FFile);
    FFile = nullptr;
    if (!FTemporary.empty()) std::remove(FTemporary.c_str());
    FTemporary.clear();
}

bool TFileReplacement::Write(const void *bytes, std::size_t size) {
    if (!FFile) return false;
    if (size && std::fwrite(bytes, 1, size, FFile) != size) return Fail();
    FWritten += (long long)size;
    return true;
}

bool TFileReplacement::Flush() {
    if (!FFile) return false;
    if (std::fflush(FFile) != 0) return Fail();
#ifdef __linux__
    // The disk starts on what has arrived since the last flush, so that
    // Commit's sync waits for the last part only, not a whole video's
    // worth; asking for the whole file each time would walk it each time.
    const int fd = fileno(FFile);
    sync_file_range(fd, FStarted, FWritten - FStarted, SYNC_FILE_RANGE_WRITE);
    // What the disk was asked to take one flush ago has mostly been taken:
    // its pages leave the cache now (the kernel keeps any still in flight).
    // A long video then reuses a few frames' worth of warm pages instead of
    // filling memory with fresh ones, each of which costs a fault to hand out.
    posix_fadvise(fd, 0, FStarted, POSIX_FADV_DONTNEED);
    FStarted = FWritten;
#endif
    return true;
}

bool TFileReplacement::Commit() {
    if (!FFile) return false;
    if (std::fflush(FFile) != 0 || std::ferror(FFile) || !SyncToDisk(FFile)) return Fail();
    const bool closed = std::fclose(FFile) == 0;
    FFile = nullptr;
    if (!closed || !Rename(FTemporary, FTarget)) return Fail();
    FTemporary.clear();
    return true;
}

}  // namespace platform
