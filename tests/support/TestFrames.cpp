#include "tests/support/TestFrames.h"

#include <cstring>
#include <random>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace testing_support {
namespace {

constexpr uint8_t Pattern = 0xA5;

size_t PageBytes() {
#ifdef _WIN32
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
#else
    return size_t(sysconf(_SC_PAGESIZE));
#endif
}

int16_t Channel(const PIXEL_YC &p, int ch) { return ch == 0 ? p.y : ch == 1 ? p.cb : p.cr; }

}  // namespace

TTestFrame::TTestFrame(int32_t maxW, int32_t maxH, int32_t offset)
    : FMaxW(maxW), FMaxH(maxH), FBlock(size_t(maxW) * maxH * 6 + 2 * GuardBytes + 32) {
    const uintptr_t base = reinterpret_cast<uintptr_t>(FBlock.data()) + GuardBytes;
    const uintptr_t aligned = (base + 15) & ~uintptr_t(15);
    FPixels = reinterpret_cast<PIXEL_YC *>(aligned + uintptr_t(offset));
    FillPattern();
}

void TTestFrame::FillPattern() { std::memset(FBlock.data(), Pattern, FBlock.size()); }

testing::AssertionResult TTestFrame::UntouchedOutside(int32_t w, int32_t h) const {
    const uint8_t *frame = reinterpret_cast<const uint8_t *>(FPixels);
    const uint8_t *end = frame + size_t(FMaxW) * FMaxH * 6;
    for (const uint8_t *p = FBlock.data(); p < FBlock.data() + FBlock.size(); ++p) {
        if (*p == Pattern) continue;
        if (p < frame || p >= end)
            return testing::AssertionFailure()
                   << "guard byte written at " << (p < frame ? frame - p : p - end + 1)
                   << (p < frame ? " bytes before the frame" : " bytes after the frame");
        const ptrdiff_t pixel = (p - frame) / 6;
        const int32_t x = int32_t(pixel % FMaxW), y = int32_t(pixel / FMaxW);
        if (x >= w || y >= h)
            return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") outside the "
                                               << w << " x " << h << " image was written";
    }
    return testing::AssertionSuccess();
}

TPageEndBlock::TPageEndBlock(size_t bytes) {
    const size_t page = PageBytes();
    const size_t dataPages = (bytes + page - 1) / page;
    FMappingBytes = (dataPages + 1) * page;
#ifdef _WIN32
    FMapping = VirtualAlloc(nullptr, FMappingBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    DWORD old;
    if (!FMapping || !VirtualProtect(static_cast<char *>(FMapping) + dataPages * page, page,
                                     PAGE_NOACCESS, &old))
        throw std::runtime_error("TPageEndBlock: cannot map");
#else
    FMapping =
        mmap(nullptr, FMappingBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (FMapping == MAP_FAILED ||
        mprotect(static_cast<char *>(FMapping) + dataPages * page, page, PROT_NONE) != 0)
        throw std::runtime_error("TPageEndBlock: cannot map");
#endif
    FData = static_cast<char *>(FMapping) + dataPages * page - bytes;
}

TPageEndBlock::~TPageEndBlock() {
#ifdef _WIN32
    VirtualFree(FMapping, 0, MEM_RELEASE);
#else
    munmap(FMapping, FMappingBytes);
#endif
}

void FillRandomPixels(PIXEL_YC *frame, int32_t pitch, int32_t w, int32_t h, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> kind(0, 19);
    std::uniform_int_distribution<int> luma(0, 4096), chroma(-2048, 2048);
    std::uniform_int_distribution<int> wideLuma(-3000, 9000), wideChroma(-16000, 16000);
    std::uniform_int_distribution<int> any(-32768, 32767);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            PIXEL_YC &p = frame[ptrdiff_t{y} * pitch + x];
            const int k = kind(rng);
            if (k < 13)
                p = PIXEL_YC{int16_t(luma(rng)), int16_t(chroma(rng)), int16_t(chroma(rng))};
            else if (k < 18)
                p = PIXEL_YC{int16_t(wideLuma(rng)), int16_t(wideChroma(rng)),
                             int16_t(wideChroma(rng))};
            else
                p = PIXEL_YC{int16_t(any(rng)), int16_t(any(rng)), int16_t(any(rng))};
        }
}

testing::AssertionResult SameImage(const PIXEL_YC *expected, int32_t expectedPitch,
                                   const PIXEL_YC *actual, int32_t actualPitch, int32_t w,
                                   int32_t h) {
    static const char *const names[] = {"y", "cb", "cr"};
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const PIXEL_YC &e = expected[ptrdiff_t{y} * expectedPitch + x];
            const PIXEL_YC &a = actual[ptrdiff_t{y} * actualPitch + x];
            for (int ch = 0; ch < 3; ++ch)
                if (Channel(e, ch) != Channel(a, ch))
                    return testing::AssertionFailure()
                           << "first difference at x " << x << ", y " << y << ", channel "
                           << names[ch] << ": expected " << Channel(e, ch) << ", got "
                           << Channel(a, ch);
        }
    return testing::AssertionSuccess();
}

}  // namespace testing_support
