// Where the tool writes a result, so that a failure never leaves a half-
// written or misplaced file:
//   - a new or regular file, wherever it lives: replaced in one step by
//     Commit (through platform::TFileReplacement), keeping its permission
//     bits; until then an existing file is untouched, and a failure, the
//     destructor or a signal that ends the process removes the temporary
//     file; a file the user may not write is refused, not replaced;
//   - a symbolic link: the same, at the file its chain of links ends at,
//     created there when it does not exist (the links stay);
//   - anything else that exists (a FIFO, a terminal, /dev/null): written in
//     place;
//   - "-": standard output.
#pragma once
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/FileReplacement.h"

// An output name resolved before anything is opened.
struct TOutputTarget {
    std::string Path;      // as the user wrote it, for messages
    std::string Target;    // the file that is replaced: links followed
    bool InPlace = false;  // "-", or something that is no regular file
};

// Throws THostError naming `path` when it can never be written: a folder, a
// link loop, a missing folder, a write-protected file, a name too long.
TOutputTarget ResolveOutput(const std::string &path);

// The reason a name cannot be opened, from the errno value of its lookup.
std::string PathFault(int error);

// True when two names, "-" being the standard stream of `input`, are one
// regular file.
bool IsSameFile(const std::string &a, bool aIsInput, const std::string &b, bool bIsInput);

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

// Removes the temporary file of the output being written when a signal ends
// the process (each one that ends it by default and can be caught, unless
// it was ignored when the tool started, as under nohup), then ends it as the
// signal would. A SIGPIPE of the tool's own write to a closed pipe does not
// end it: the write fails and is reported. Call once at start.
void RemoveTemporaryOnSignal();
