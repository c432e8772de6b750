// Where the tool writes a result, so that a failure never leaves a half-
// written or misplaced file:
//   - a new or regular file: replaced in one step by Commit (through
//     platform::TFileReplacement); until then an existing file is untouched,
//     and a failure, the destructor, Ctrl-C or SIGTERM removes the
//     temporary file;
//   - a symbolic link: the same, at the file it points to (the link stays);
//   - anything else (a FIFO, a terminal, /dev/null), and any name under
//     /dev or /proc (/dev/stdout may lead to a file the shell opened):
//     written in place;
//   - "-": standard output.
#pragma once
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/FileReplacement.h"

// True for "-" and for outputs written in place, as above.
bool IsWrittenInPlace(const std::string &path);

class TOutputFile {
public:
    // Throws THostError naming `path` when it cannot be written.
    explicit TOutputFile(const std::string &path);
    ~TOutputFile();
    TOutputFile(const TOutputFile &) = delete;
    TOutputFile &operator=(const TOutputFile &) = delete;

    void Write(const void *bytes, std::size_t size);
    void Write(const std::string &bytes) { Write(bytes.data(), bytes.size()); }
    // Lets what is written so far reach a pipe.
    void Flush();
    // Makes the output final; throws THostError when the bytes did not all
    // arrive (disk full), leaving the target as it was.
    void Commit();

private:
    [[noreturn]] void Fail(const std::string &fault, int error);
    void Discard();

    std::string FPath;  // as the user wrote it, for messages
    std::unique_ptr<platform::TFileReplacement> FReplacement;
    std::FILE *FFile = nullptr;  // written in place
    bool FOwnsFile = false;      // not standard output
};

// A whole output file at once, through TOutputFile. Throws THostError naming
// `path` and the fault; any existing file at `path` is then untouched.
void WriteFileAtomically(const std::string &path, const std::string &bytes);

// Removes the temporary file of the output being written on Ctrl-C or
// SIGTERM, then ends the process as the signal would. Call once at start.
void RemoveTemporaryOnSignal();
