#include "platform/posix/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace platform::ini {

namespace {

bool WriteAll(int fd, const std::string &text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

// O_EXCL: never write into a file that something else created.
int CreateTemporary(const std::string &path, std::string &name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

TReadResult ReadSettingsFile(const std::string &path, std::string &text) {
    text.clear();
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? TReadResult::Absent : TReadResult::Failed;
    if (!S_ISREG(info.st_mode)) return TReadResult::Failed;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return TReadResult::Failed;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof(buffer))) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(buffer, std::size_t(n));
    }
    close(fd);
    return n == 0 ? TReadResult::Read : TReadResult::Failed;
}

bool ReplaceSettingsFile(const std::string &path, const std::string &text) {
    struct stat old;
    const bool replacing = stat(path.c_str(), &old) == 0;
    // Renaming over a read-only file would succeed; Windows refuses to write it.
    if (replacing && (!S_ISREG(old.st_mode) || access(path.c_str(), W_OK) != 0)) return false;
    std::string temporary;
    const int fd = CreateTemporary(path, temporary);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, text);
    if (ok && replacing) ok = fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) unlink(temporary.c_str());
    return ok;
}

}  // namespace platform::ini
