#include "platform/posix/SettingsFile.h"

#include "platform/FileReplacement.h"
#include "platform/Paths.h"
#include "platform/SameText.h"
#include "platform/posix/IniText.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

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

namespace {

// Another run holds the lock only while it rewrites the file, a few
// milliseconds; this long means it is stuck, and the value is not kept.
constexpr auto LockPatience = std::chrono::seconds(10);
constexpr auto LockPoll = std::chrono::milliseconds(10);

}  // namespace

TSettingsLock::TSettingsLock(const std::string &file) {
    const std::string dir = ExtractFileDir(file);
    const int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + LockPatience;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() > deadline) {
            close(fd);
            return;
        }
        std::this_thread::sleep_for(LockPoll);
    }
    FFolder = fd;
}

TSettingsLock::~TSettingsLock() {
    if (FFolder >= 0) close(FFolder);  // closing releases the lock
}

namespace {

// Names as the file compares them: blanks around them do not count.
bool IsReadOf(const TIniReads::TValue &r, const std::string &section, const std::string &key) {
    return SameText(TrimBlanks(r.section), TrimBlanks(section)) &&
           SameText(TrimBlanks(r.key), TrimBlanks(key));
}

}  // namespace

void NoteValueRead(TIniReads &reads, const std::string &section, const std::string &key,
                   const std::string &value, bool found) {
    for (TIniReads::TValue &r : reads.Values)
        if (IsReadOf(r, section, key)) {
            r.value = value;
            r.found = found;
            return;
        }
    reads.Values.push_back({section, key, value, found});
}

bool IsStaleWrite(const TIniReads &reads, const std::string &section, const std::string &key,
                  const std::string &value, const std::optional<std::string> &now) {
    const auto r =
        std::find_if(reads.Values.begin(), reads.Values.end(),
                     [&](const TIniReads::TValue &v) { return IsReadOf(v, section, key); });
    if (r == reads.Values.end() || !now) return false;
    // A key that was missing is written from a default, which tells nothing
    // of a change; one that another run has added since is theirs.
    if (!r->found) return true;
    const std::string seen = Unquote(TrimBlanks(value));  // as a reader would get it
    return seen == r->value && *now != seen;
}

}  // namespace platform::ini
