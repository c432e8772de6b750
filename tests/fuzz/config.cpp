// The saved configuration block: 76 bytes of a project restored into the
// built filter through the stand-in host, with the filter window (and so the
// dialog on in-memory controls) open or shut, then frames of the sizes the
// input names. A frame comes back either untouched at its own size or
// resized to the block's size; nothing is read or written outside the
// host's frames and the block.
//
// Input: the block (zero-padded to 76 bytes), then commands of three bytes:
// (op, a, b) — op % 4: 0 a frame of (1 + a % 96) × (1 + b % 64), 1 the
// window shut or opened, 2 the filter switched off and on, 3 the block
// restored again.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "standin/HostError.h"
#include "standin/StandinHost.h"
#include "abi/FilterConfig.h"

// libFuzzer keeps the coverage counters of every instrumented library it has
// seen, and the filter unloads the libraries it only looked into: here no
// library is ever unloaded, or the counters would point into freed memory.
extern "C" int dlclose(void *) { return 0; }

namespace {

constexpr int kMaxWidth = 96;
constexpr int kMaxHeight = 64;
constexpr int kMaxCommands = 8;

void Expect(bool holds, const char *what) {
    if (holds) return;
    std::fprintf(stderr, "config: %s\n", what);
    std::abort();
}

// An installation of this build in a scratch folder: the settings file the
// filter writes stays out of the build.
std::string Install() {
    namespace fs = std::filesystem;
    char name[] = "/tmp/morvane-fuzz-config-XXXXXX";
    if (!mkdtemp(name)) std::abort();
    const fs::path dir = name, dist = MORVANE_FUZZ_DIST_DIR;
    fs::create_directories(dir / "DLL");
    for (const char *lib : {"Tessolk.dll", "Varnoth.dll", "WindowFuncs.dll"})
        fs::copy_file(dist / "DLL" / lib, dir / "DLL" / lib);
    fs::copy_file(dist / "Morvane.auf", dir / "Morvane.auf");
    static fs::path made = dir;
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(made, ignored);
    });
    return (dir / "Morvane.auf").string();
}

// One host for the whole run: the stand-in host allows one per process and
// loading the filter anew for each input would be most of the time.
TStandinHost &Host() {
    static TStandinHost *host = [] {
        auto *h = new TStandinHost(Install(), kMaxWidth, kMaxHeight, 2);
        Expect(h->Init() == TRUE, "func_init failed");
        h->OpenWindow();
        return h;
    }();
    return *host;
}

TYcImage Frame(int width, int height, uint32_t seed) {
    TYcImage image(width, height);
    std::minstd_rand random(seed);
    for (PIXEL_YC &p : image.Pixels)
        p = PIXEL_YC{int16_t(random() % 4097), int16_t(int(random() % 4097) - 2048),
                     int16_t(int(random() % 4097) - 2048)};
    return image;
}

void RunFrame(TStandinHost &host, int width, int height, uint32_t seed) {
    const TYcImage in = Frame(width, height, seed);
    TFilterConfig block;
    const auto saved = host.SaveProject();
    Expect(saved.size() == sizeof block, "saved block size");
    std::memcpy(&block, saved.data(), sizeof block);
    const TFrameResult out = host.ProcessFrame(in);
    Expect(out.Result == TRUE, "func_proc failed");
    if (out.Image.Width == width && out.Image.Height == height) {
        Expect(out.Image.Pixels.size() == in.Pixels.size() &&
                   std::memcmp(out.Image.Pixels.data(), in.Pixels.data(),
                               in.Pixels.size() * sizeof(PIXEL_YC)) == 0,
               "a frame kept at its size was changed");
    } else {
        Expect(out.Image.Width == block.Width && out.Image.Height == block.Height,
               "frame resized to a size other than the block's");
    }
}

}  // namespace

// Loaded before the first input, so libFuzzer counts the filter's and its
// plug-ins' coverage from the start.
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    Host();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    TStandinHost &host = Host();
    uint8_t block[sizeof(TFilterConfig)] = {};
    std::memcpy(block, data, std::min(size, sizeof block));
    try {
        Expect(host.RestoreProject(block, sizeof block) == TRUE, "func_update failed");
        int commands = 0;
        for (std::size_t at = sizeof block; at + 3 <= size && commands < kMaxCommands;
             at += 3, ++commands) {
            const uint8_t op = data[at], a = data[at + 1], b = data[at + 2];
            switch (op % 4) {
            case 0: RunFrame(host, 1 + a % kMaxWidth, 1 + b % kMaxHeight, uint32_t(at)); break;
            case 1: host.Window() ? host.CloseWindow() : host.OpenWindow(); break;
            case 2:
                host.ChangeActive(false);
                host.ChangeActive(true);
                break;
            case 3: host.RestoreProject(block, sizeof block); break;
            }
        }
        if (commands == 0) RunFrame(host, 1 + block[0] % kMaxWidth, 1 + block[4] % kMaxHeight, 1);
    } catch (const THostError &e) {
        std::fprintf(stderr, "config: %s\n", e.what());
        std::abort();
    }
    return 0;
}
