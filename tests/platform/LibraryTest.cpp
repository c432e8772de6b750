#include <gtest/gtest.h>

#include <thread>

#include "abi/CallConv.h"
#include "platform/Library.h"
#include "platform/Paths.h"
#include "platform/Processors.h"
#include "tests/support/TestPaths.h"

using namespace platform;

namespace {

using ProbeFunction = int(MV_CDECL *)();

// Built beside the tests by tests/platform/CMakeLists.txt.
std::string ProbePath() { return testing_support::TestBinDir() + "PlatformProbe.dll"; }

// Loaded for the length of one case.
class TLoadedProbe {
public:
    TLoadedProbe() : FHandle(OpenLibrary(ProbePath())) {}
    ~TLoadedProbe() { CloseLibrary(FHandle); }
    LibraryHandle Handle() const { return FHandle; }

private:
    LibraryHandle FHandle;
};

}  // namespace

TEST(Library, LoadsByPathAndCallsAnExport) {
    TLoadedProbe probe;
    ASSERT_NE(probe.Handle(), nullptr) << ProbePath();
    void *symbol = FindSymbol(probe.Handle(), "PlatformProbeAnswer");
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(reinterpret_cast<ProbeFunction>(symbol)(), 4242);
}

TEST(Library, UnexportedOrMissingSymbolsGiveNull) {
    TLoadedProbe probe;
    ASSERT_NE(probe.Handle(), nullptr) << ProbePath();
    EXPECT_EQ(FindSymbol(probe.Handle(), "PlatformProbeHidden"), nullptr);
    EXPECT_EQ(FindSymbol(probe.Handle(), "NoSuchExport"), nullptr);
    // A null handle must not fall back to searching the whole process.
    EXPECT_EQ(FindSymbol(nullptr, "malloc"), nullptr);
    EXPECT_EQ(FindSymbol(nullptr, "PlatformProbeAnswer"), nullptr);
    CloseLibrary(nullptr);
}

TEST(Library, FilesThatAreNoLibraryGiveNull) {
    testing_support::TempDir dir;
    EXPECT_EQ(OpenLibrary(dir.Write("text.dll", "not a library\r\n")), nullptr);
    EXPECT_EQ(OpenLibrary(dir.Write("empty.dll", "")), nullptr);
    EXPECT_EQ(OpenLibrary(dir.Path() + "missing.dll"), nullptr);
    EXPECT_EQ(OpenLibrary(dir.Path() + "no folder" + PathDelimiter() + "a.dll"), nullptr);
}

// Callers decide on the kind; on Windows the system loader makes every check.
TEST(Library, FileFaultsComeWithTheirKind) {
    testing_support::TempDir dir;
    const std::string whole = testing_support::ReadFile(ProbePath());
    const struct {
        std::string path;
        TLibraryFaultKind kind;
    } cases[] = {
        {ProbePath(), TLibraryFaultKind::None},
        {dir.Write("text.dll", "not a library\r\n"), TLibraryFaultKind::NotALibrary},
        {dir.Write("cut.dll", whole.substr(0, whole.size() / 2)), TLibraryFaultKind::Truncated},
        {dir.Path() + "missing.dll", TLibraryFaultKind::Unreadable},
    };
    for (const auto &c : cases) {
#ifdef _WIN32
        const TLibraryFaultKind expected = TLibraryFaultKind::None;
#else
        const TLibraryFaultKind expected = c.kind;
#endif
        const TLibraryFileFault fault = LibraryFileFault(c.path);
        EXPECT_EQ(fault.Kind, expected) << c.path;
        EXPECT_EQ(fault.Text.empty(), expected == TLibraryFaultKind::None)
            << c.path << ": " << fault.Text;
    }
}

TEST(ModulePath, NamesTheLibraryThatHoldsAnAddress) {
    TLoadedProbe probe;
    ASSERT_NE(probe.Handle(), nullptr) << ProbePath();
    const void *answer = FindSymbol(probe.Handle(), "PlatformProbeAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(ModulePathOf(answer), ProbePath());
}

TEST(ModulePath, NamesTheProgramForItsOwnCode) {
    static int anchor;
    const std::string path = ModulePathOf(&anchor);
    EXPECT_EQ(ExtractBaseName(path), "platform_tests") << path;
    EXPECT_NE(ExtractFileDir(path), "") << path;
    EXPECT_EQ(ModulePathOf(reinterpret_cast<const void *>(&ProcessorCount)), path);
}

TEST(ModulePath, AddressOutsideEveryModuleGivesEmpty) {
    int local = 0;
    EXPECT_EQ(ModulePathOf(&local), "");
}

TEST(ProcessorCount, MatchesTheStandardLibrarysCount) {
    const int count = ProcessorCount();
    EXPECT_GE(count, 1);
    const unsigned reported = std::thread::hardware_concurrency();
    if (reported != 0) {
        EXPECT_EQ(count, int(reported));
    }
}
