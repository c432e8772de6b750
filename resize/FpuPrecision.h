// Double precision for the x87 unit while weight tables are built.
#pragma once
#include <cstdint>

// On i686 the x87 unit may do the weight arithmetic, and a host can leave it
// at 24- or 64-bit precision; the tables must come out the same whatever the
// host set. Where SSE does double arithmetic (x86-64, or i686 with SSE maths)
// every double operation already rounds to 53 bits, so there is nothing to set.
class TDoublePrecision {
public:
    TDoublePrecision() {
#if defined(__i386__)
        __asm__ volatile("fnstcw %0" : "=m"(FSaved));
        uint16_t wanted = uint16_t((FSaved & ~0x0300u) | 0x0200u);  // precision control: 53 bits
        __asm__ volatile("fldcw %0" : : "m"(wanted));
#endif
    }
    ~TDoublePrecision() {
#if defined(__i386__)
        __asm__ volatile("fldcw %0" : : "m"(FSaved));
#endif
    }
    TDoublePrecision(const TDoublePrecision &) = delete;
    TDoublePrecision &operator=(const TDoublePrecision &) = delete;

private:
    [[maybe_unused]] uint16_t FSaved = 0;
};
