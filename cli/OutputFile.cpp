#include "cli/OutputFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "standin/HostError.h"
#include "platform/Paths.h"

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

void RemovePending() {
#ifdef _WIN32
    if (HasPending) _unlink(PendingTemporary);
#else
    if (HasPending) unlink(PendingTemporary);
#endif
}

bool CanWrite(const std::string &path) {
#ifdef _WIN32
    return _access(path.c_str(), 2) == 0;
#else
    return access(path.c_str(), W_OK) == 0;
#endif
}

std::string ShownName(const std::string &path) { return path == "-" ? "standard output" : path; }

}  // namespace

std::string PathFault(int error) {
    switch (error) {
    case ENOENT: return "no such file";
    case ENOTDIR: return "no such folder";
    case ELOOP: return "symbolic link loop";
    case ENAMETOOLONG: return "the name is too long";
    case EACCES: return "cannot be reached (permission denied)";
    default: return std::string("cannot be opened (") + std::strerror(error) + ")";
    }
}

TOutputTarget ResolveOutput(const std::string &path) {
    TOutputTarget t{path, path, path == "-"};
    if (t.InPlace) return t;
    const auto fail = [&](const std::string &fault) { throw THostError(path + ": " + fault); };
    struct stat info;
    // What the name leads to, links and /dev/stdout included: only a regular
    // file is replaced.
    if (stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) fail("is a folder");
        if (!S_ISREG(info.st_mode)) {
            t.InPlace = true;
            return t;
        }
    } else if (errno != ENOENT) {
        fail(PathFault(errno));
    }
    if (const int error = platform::FollowLinks(path, t.Target)) fail(PathFault(error));
    if (stat(t.Target.c_str(), &info) == 0) {
        if (!CanWrite(t.Target)) fail("write-protected (it is not replaced)");
        return t;
    }
    // "folder/." names the folder itself wherever a trailing delimiter would not.
    const std::string folder = platform::ExtractFileDir(t.Target) + ".";
    if (stat(folder.c_str(), &info) != 0)
        fail(errno == ENOENT || errno == ENOTDIR ? "no such folder" : PathFault(errno));
    if (!S_ISDIR(info.st_mode)) fail("no such folder");
    return t;
}

bool IsSameFile(const std::string &a, bool aIsInput, const std::string &b, bool bIsInput) {
    const auto name = [](const std::string &n, bool input) {
        return n == "-" ? std::string(input ? "/dev/stdin" : "/dev/stdout") : n;
    };
    struct stat x, y;
    if (stat(name(a, aIsInput).c_str(), &x) != 0 || stat(name(b, bIsInput).c_str(), &y) != 0)
        return false;
    if (!S_ISREG(x.st_mode) || !S_ISREG(y.st_mode)) return false;
#ifdef _WIN32
    std::error_code ec;
    return fs::equivalent(name(a, aIsInput), name(b, bIsInput), ec);
#else
    return x.st_dev == y.st_dev && x.st_ino == y.st_ino;
#endif
}

TOutputFile::TOutputFile(const std::string &path) : FPath(path) {
    const TOutputTarget target = ResolveOutput(path);
    if (path == "-") {
        FFile = stdout;
        return;
    }
    if (target.InPlace) {
        FFile = std::fopen(path.c_str(), "wb");
        if (!FFile) Fail("cannot be opened for writing", errno);
        FOwnsFile = true;
        return;
    }
    FReplacement = std::make_unique<platform::TFileReplacement>(target.Target);
    if (!FReplacement->IsOpen()) Fail("cannot be created in its folder", FReplacement->Error());
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
    if (error == EPIPE) throw THostError(ShownName(FPath) + ": the reader closed the pipe");
    throw THostError(ShownName(FPath) + ": " +
                     (error ? fault + " (" + std::strerror(error) + ")" : fault));
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

#ifdef _WIN32

namespace {

extern "C" void OnTerminatingSignal(int signal) {
    RemovePending();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void RemoveTemporaryOnSignal() {
    for (const int signal : {SIGINT, SIGTERM, SIGABRT}) std::signal(signal, OnTerminatingSignal);
}

#else

namespace {

extern "C" void OnTerminatingSignal(int signal, siginfo_t *info, void *) {
    // The kernel sends SIGPIPE from the writer's own process; the failed
    // write then says what happened.
    if (signal == SIGPIPE && info && info->si_code == SI_USER && info->si_pid == getpid()) return;
    RemovePending();
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    raise(signal);  // delivered as the handler returns
}

// Every signal whose default action ends the process and that can be caught.
constexpr int TerminatingSignals[] = {
    SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,    SIGFPE,  SIGUSR1, SIGSEGV,
    SIGUSR2,   SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPOLL
    SIGPOLL,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};

}  // namespace

void RemoveTemporaryOnSignal() {
    struct sigaction handler {};
    handler.sa_sigaction = OnTerminatingSignal;
    handler.sa_flags = SA_SIGINFO;
    sigemptyset(&handler.sa_mask);
    for (const int signal : TerminatingSignals) {
        struct sigaction old {};
        if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        sigaction(signal, &handler, nullptr);
    }
}

#endif

void WriteFileAtomically(const std::string &path, const std::string &bytes) {
    TOutputFile file(path);
    file.Write(bytes);
    file.Commit();
}
