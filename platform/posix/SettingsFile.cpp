#include "platform/posix/SettingsFile.h"

#include "platform/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform::ini {

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
    // Renaming over a read-only file would succeed; Windows refuses to write it.
    if (stat(path.c_str(), &old) == 0 && (!S_ISREG(old.st_mode) || access(path.c_str(), W_OK) != 0))
        return false;
    TFileReplacement file(path);
    return file.Write(text.data(), text.size()) && file.Commit();
}

}  // namespace platform::ini
