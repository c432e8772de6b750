// Writing a file whole: the bytes go to a new file beside the target, which
// replaces the target in one step once they have all reached the disk. Until
// then the target is untouched, and after a crash either the old or the new
// file is there, never a cut one.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

namespace platform {

// The file that writing `path` must replace: symbolic links followed to
// their end, a dangling one to the name it holds. 0, or the errno value that
// stopped the walk (ELOOP for a loop, ENAMETOOLONG).
int FollowLinks(const std::string &path, std::string &target);

class TFileReplacement {
public:
    // Creates the new file in `target`'s folder (`target` names the file
    // itself, not a link to it); IsOpen() tells whether that worked. On POSIX
    // the new file gets the permission bits of the file it will replace.
    explicit TFileReplacement(const std::string &target);
    // Removes the new file unless it was committed.
    ~TFileReplacement();
    TFileReplacement(const TFileReplacement &) = delete;
    TFileReplacement &operator=(const TFileReplacement &) = delete;

    bool IsOpen() const { return FFile != nullptr; }
    // The new file's name while it exists, for a signal handler to remove.
    const std::string &TemporaryName() const { return FTemporary; }
    // Each of these is false on a failure, with Error() telling why.
    bool Write(const void *bytes, std::size_t size);
    bool Flush();
    // Puts the new file in the target's place; on failure the new file is
    // gone and the target is as it was.
    bool Commit();
    // The errno value of the first failure, 0 while there was none.
    int Error() const { return FError; }

private:
    bool Fail();
    void Discard();

    std::string FTarget;
    std::string FTemporary;
    std::FILE *FFile = nullptr;
    int FError = 0;
    long long FWritten = 0;  // bytes handed to the file
    long long FStarted = 0;  // of those, how many the disk was asked to take
};

}  // namespace platform
