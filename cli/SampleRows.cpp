#include "cli/SampleRows.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/PictureLanes.h"
#include "cli/SampleLanes.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include "cli/SampleRowsAvx2.h"
#endif

namespace {

using namespace sample_lanes;

// One lane, for the baseline and every vector tier's leftover samples.
struct TScalarLanes {
    using Real = float;
    using Int = int32_t;
    static Real Set(float v) { return v; }
    static Real ToReal(Int v) { return Real(v); }
    static Real Sub(Real a, Real b) { return a - b; }
    static Real Add(Real a, Real b) { return a + b; }
    static Int AddInt(Int a, Int b) { return a + b; }
    // Held where int32 holds it; the caller saturates to 16 bits, as the
    // vector lanes' packs do.
    static Int Truncate(Real v) { return Int(std::min(std::max(v, -1e9f), 1e9f)); }
};

int16_t ToHost(int32_t sum, THostScale s) {
    return int16_t(std::clamp(RoundHalfAwayLanes<TScalarLanes>((float(sum) - s.Offset) * s.Factor),
                              -32768, 32767));
}

uint16_t Word(const uint16_t *at) {
    uint16_t w;
    std::memcpy(&w, at, sizeof w);  // the caller's buffer may be bytes
    return w;
}

void ScaleTail(const uint8_t *in, int from, int count, THostScale s, int16_t *out) {
    for (int i = from; i < count; ++i) out[i] = ToHost(in[i], s);
}
void ScaleTail(const uint16_t *in, int from, int count, THostScale s, int16_t *out) {
    for (int i = from; i < count; ++i) out[i] = ToHost(Word(in + i), s);
}
void ScaleTail(const int32_t *in, int from, int count, THostScale s, int16_t *out) {
    for (int i = from; i < count; ++i) out[i] = ToHost(in[i], s);
}

int32_t ToCode(int32_t sum, TCodeScale s) {
    const int64_t v =
        (int64_t(sum) * s.Factor + s.Bias) >> s.Shift;  // floors: the shift is arithmetic
    return int32_t(std::min<int64_t>(std::max<int64_t>(v, 0), s.Max));
}

template <class T>
void CodeTail(const int32_t *in, int from, int count, TCodeScale s, T *out) {
    for (int i = from; i < count; ++i) {
        const T code = T(ToCode(in[i], s));
        std::memcpy(out + i, &code, sizeof code);  // the caller's buffer may be bytes
    }
}

void UnpackTail(const PIXEL_YC *in, int from, int count, int32_t *y, int32_t *cb, int32_t *cr,
                int weight, bool add) {
    for (int i = from; i < count; ++i) {
        if (y) y[i] = in[i].y;
        if (!cb) continue;
        cb[i] = (add ? cb[i] : 0) + weight * in[i].cb;
        cr[i] = (add ? cr[i] : 0) + weight * in[i].cr;
    }
}

void PackTail(const int16_t *y, const int16_t *cb, const int16_t *cr, int from, int count,
              PIXEL_YC *out) {
    for (int i = from; i < count; ++i)
        out[i] = PIXEL_YC{y[i], cb ? cb[i] : int16_t(0), cr ? cr[i] : int16_t(0)};
}

#if defined(__SSE2__)

// SSE2 has no 32-bit multiply that keeps the low halves: even and odd
// lanes are multiplied apart (the low 32 bits of a product do not depend on
// sign).
struct TSse2Lanes {
    using Real = __m128;
    using Int = __m128i;
    static Real Set(float v) { return _mm_set1_ps(v); }
    static Int Set(int32_t v) { return _mm_set1_epi32(v); }
    static Real ToReal(Int v) { return _mm_cvtepi32_ps(v); }
    static Real Sub(Real a, Real b) { return _mm_sub_ps(a, b); }
    static Real Mul(Real a, Real b) { return _mm_mul_ps(a, b); }
    static Real Add(Real a, Real b) { return _mm_add_ps(a, b); }
    static Int Truncate(Real v) { return _mm_cvttps_epi32(v); }
    static Int Nearest(Real v) { return _mm_cvtps_epi32(v); }
    static Int AddInt(Int a, Int b) { return _mm_add_epi32(a, b); }
    static Int ShiftRight(Int v, int by) { return _mm_sra_epi32(v, _mm_cvtsi32_si128(by)); }
    static Int MulLow(Int a, Int b) {
        const __m128i even = _mm_mul_epu32(a, b), odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), b);
        return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                  _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
    }
};

// Eight sums in two vectors to eight int16: the saturating pack clamps.
struct TScale4 : THostLanes<TSse2Lanes> {
    using THostLanes::THostLanes;
    using THostLanes::operator();
    __m128i operator()(__m128i low, __m128i high) const {
        return _mm_packs_epi32((*this)(low), (*this)(high));
    }
};

int ScaleBody(const uint8_t *in, int count, const TScale4 &s, int16_t *out) {
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        const __m128i low = _mm_unpacklo_epi8(bytes, zero), high = _mm_unpackhi_epi8(bytes, zero);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i),
                         s(_mm_unpacklo_epi16(low, zero), _mm_unpackhi_epi16(low, zero)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8),
                         s(_mm_unpacklo_epi16(high, zero), _mm_unpackhi_epi16(high, zero)));
    }
    return i;
}

int ScaleBody(const uint16_t *in, int count, const TScale4 &s, int16_t *out) {
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i),
                         s(_mm_unpacklo_epi16(words, zero), _mm_unpackhi_epi16(words, zero)));
    }
    return i;
}

int ScaleBody(const int32_t *in, int count, const TScale4 &s, int16_t *out) {
    int i = 0;
    for (; i + 8 <= count; i += 8)
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i),
                         s(_mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i + 4))));
    return i;
}

struct TCodes4 : TCodeLanes<TSse2Lanes> {
    using TCodeLanes::TCodeLanes;
    __m128i operator()(const int32_t *in) const {
        return TCodeLanes::operator()(_mm_loadu_si128(reinterpret_cast<const __m128i *>(in)));
    }
};

// Eight codes of 8 bits: the signed pack keeps every value's side of 0 and
// 255, the unsigned one clamps.
int CodesBody(const int32_t *in, int count, TCodeScale scale, uint8_t *out) {
    const TCodes4 s(scale);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i words = _mm_packs_epi32(s(in + i), s(in + i + 4));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out + i), _mm_packus_epi16(words, words));
    }
    return i;
}

// Codes of 16 bits: shifted by 32768 they pack signed, which clamps them
// to 0..65535, and come back.
__m128i PackWords(__m128i low, __m128i high) {
    const __m128i bias = _mm_set1_epi32(32768);
    return _mm_xor_si128(_mm_packs_epi32(_mm_sub_epi32(low, bias), _mm_sub_epi32(high, bias)),
                         _mm_set1_epi16(int16_t(0x8000)));
}

// Deeper codes; up to 15 bits they are clamped after a signed pack.
int CodesBody(const int32_t *in, int count, TCodeScale scale, uint16_t *out) {
    const TCodes4 s(scale);
    const bool sixteen = scale.Max == 65535;
    const __m128i zero = _mm_setzero_si128(), max = _mm_set1_epi16(int16_t(scale.Max));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i low = s(in + i), high = s(in + i + 4);
        const __m128i words =
            sixteen ? PackWords(low, high)
                    : _mm_min_epi16(_mm_max_epi16(_mm_packs_epi32(low, high), zero), max);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), words);
    }
    return i;
}

// Each pixel is built in 8 bytes, the last two zero; pairs are closed up to
// 12 bytes and four pairs make three whole 16-byte stores.
int PackBody(const int16_t *y, const int16_t *cb, const int16_t *cr, int count, bool streaming,
             PIXEL_YC *out) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_set_epi32(0, 0, -1, -1);
    const auto closeUp = [&](__m128i pair) {  // pixels at bytes 0 and 8 to bytes 0 and 6
        return _mm_or_si128(_mm_and_si128(pair, low),
                            _mm_srli_si128(_mm_andnot_si128(low, pair), 2));
    };
    char *at = reinterpret_cast<char *>(out);
    int i = 0;
    for (; i + 8 <= count; i += 8, at += 8 * sizeof(PIXEL_YC)) {
        const __m128i vy = _mm_loadu_si128(reinterpret_cast<const __m128i *>(y + i));
        const __m128i vcb = cb ? _mm_loadu_si128(reinterpret_cast<const __m128i *>(cb + i)) : zero;
        const __m128i vcr = cr ? _mm_loadu_si128(reinterpret_cast<const __m128i *>(cr + i)) : zero;
        const __m128i ycLow = _mm_unpacklo_epi16(vy, vcb), ycHigh = _mm_unpackhi_epi16(vy, vcb);
        const __m128i crLow = _mm_unpacklo_epi16(vcr, zero), crHigh = _mm_unpackhi_epi16(vcr, zero);
        const __m128i a = closeUp(_mm_unpacklo_epi32(ycLow, crLow)),
                      b = closeUp(_mm_unpackhi_epi32(ycLow, crLow));
        const __m128i c = closeUp(_mm_unpacklo_epi32(ycHigh, crHigh)),
                      d = closeUp(_mm_unpackhi_epi32(ycHigh, crHigh));
        const __m128i first = _mm_or_si128(a, _mm_slli_si128(b, 12));
        const __m128i second = _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8));
        const __m128i third = _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4));
        __m128i *const to = reinterpret_cast<__m128i *>(at);
        if (streaming) {
            _mm_stream_si128(to, first);
            _mm_stream_si128(to + 1, second);
            _mm_stream_si128(to + 2, third);
        } else {
            _mm_storeu_si128(to, first);
            _mm_storeu_si128(to + 1, second);
            _mm_storeu_si128(to + 2, third);
        }
    }
    return i;
}

// The way back: each pixel is loaded as 8 bytes (its own 6 and two of the
// next), so a group is loaded only while a pixel follows it.
int UnpackBody(const PIXEL_YC *in, int count, int32_t *y, int32_t *cb, int32_t *cr, int weight,
               bool add) {
    const char *at = reinterpret_cast<const char *>(in);
    const auto load = [](const char *pixel) {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i *>(pixel));
    };
    // Widened with their sign: each word into the top half over zeros,
    // shifted down; a weight of 2 shifts one less.
    const __m128i zero = _mm_setzero_si128(), whole = _mm_cvtsi32_si128(16);
    const __m128i down = _mm_cvtsi32_si128(weight == 2 ? 15 : 16);
    const auto store = [&](int32_t *out, __m128i words, bool sum) {
        __m128i low = _mm_sra_epi32(_mm_unpacklo_epi16(zero, words), sum ? down : whole);
        __m128i high = _mm_sra_epi32(_mm_unpackhi_epi16(zero, words), sum ? down : whole);
        if (sum && add) {
            low = _mm_add_epi32(low, _mm_loadu_si128(reinterpret_cast<const __m128i *>(out)));
            high = _mm_add_epi32(high, _mm_loadu_si128(reinterpret_cast<const __m128i *>(out + 4)));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), low);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 4), high);
    };
    int i = 0;
    for (; i + 9 <= count; i += 8, at += 8 * sizeof(PIXEL_YC)) {
        __m128i half[2][2];  // [pixels 0-3, 4-7][y cb of four, cr of four]
        for (int h = 0; h < 2; ++h) {
            const char *p = at + 24 * h;
            const __m128i a = _mm_unpacklo_epi64(load(p), load(p + 6));        // pixels 0, 1
            const __m128i b = _mm_unpacklo_epi64(load(p + 12), load(p + 18));  // pixels 2, 3
            const __m128i low = _mm_unpacklo_epi16(a, b), high = _mm_unpackhi_epi16(a, b);
            half[h][0] = _mm_unpacklo_epi16(low, high);  // y0 y1 y2 y3 cb0 cb1 cb2 cb3
            half[h][1] = _mm_unpackhi_epi16(low, high);  // cr0 cr1 cr2 cr3 …
        }
        if (y) store(y + i, _mm_unpacklo_epi64(half[0][0], half[1][0]), false);
        if (!cb) continue;
        store(cb + i, _mm_unpackhi_epi64(half[0][0], half[1][0]), true);
        store(cr + i, _mm_unpacklo_epi64(half[0][1], half[1][1]), true);
    }
    return i;
}

#endif

// A line `from` samples on, where there is one.
template <class T>
T *From(T *line, int from) {
    return line ? line + from : nullptr;
}

// A frame is far larger than the caches and is not read again until the
// filter runs: aligned lines go straight to memory, without the reads that
// ordinary stores make first.
bool Streaming(const PIXEL_YC *out) { return reinterpret_cast<uintptr_t>(out) % 16 == 0; }

// Each tier does what it can and hands the rest to the tier below.
struct TBaseline {
    template <class T>
    static void Scale(const T *in, int count, THostScale scale, int16_t *out) {
        ScaleTail(in, 0, count, scale, out);
    }
    template <class T>
    static void Codes(const int32_t *in, int count, TCodeScale scale, T *out) {
        CodeTail(in, 0, count, scale, out);
    }
    static void Pack(const int16_t *y, const int16_t *cb, const int16_t *cr, int count,
                     PIXEL_YC *out) {
        PackTail(y, cb, cr, 0, count, out);
    }
    static void Unpack(const PIXEL_YC *in, int count, int32_t *y, int32_t *cb, int32_t *cr,
                       int weight, bool add) {
        UnpackTail(in, 0, count, y, cb, cr, weight, add);
    }
    static int PictureIn(const uint8_t *, int, int, int, PIXEL_YC *) { return 0; }
    static int PictureOut(const PIXEL_YC *, int, int, int, uint8_t *) { return 0; }
};

#if defined(__SSE2__)

struct TSse2 {
    template <class T>
    static void Scale(const T *in, int count, THostScale scale, int16_t *out) {
        ScaleTail(in, ScaleBody(in, count, TScale4(scale), out), count, scale, out);
    }
    template <class T>
    static void Codes(const int32_t *in, int count, TCodeScale scale, T *out) {
        CodeTail(in, scale.Fits32 ? CodesBody(in, count, scale, out) : 0, count, scale, out);
    }
    static void Pack(const int16_t *y, const int16_t *cb, const int16_t *cr, int count,
                     PIXEL_YC *out) {
        const bool streaming = Streaming(out);
        const int i = PackBody(y, cb, cr, count, streaming, out);
        if (streaming) _mm_sfence();  // the kernel reads these lines on other threads
        PackTail(y, cb, cr, i, count, out);
    }
    static void Unpack(const PIXEL_YC *in, int count, int32_t *y, int32_t *cb, int32_t *cr,
                       int weight, bool add) {
        UnpackTail(in, UnpackBody(in, count, y, cb, cr, weight, add), count, y, cb, cr, weight,
                   add);
    }
    static constexpr auto PictureIn = picture_rows::InSse2;
    static constexpr auto PictureOut = picture_rows::OutSse2;
};

struct TAvx2 {
    template <class T>
    static void Scale(const T *in, int count, THostScale scale, int16_t *out) {
        const int i = sample_rows_avx2::ScaleBody(in, count, scale, out);
        TSse2::Scale(in + i, count - i, scale, out + i);
    }
    template <class T>
    static void Codes(const int32_t *in, int count, TCodeScale scale, T *out) {
        const int i = scale.Fits32 ? sample_rows_avx2::CodesBody(in, count, scale, out) : 0;
        TSse2::Codes(in + i, count - i, scale, out + i);
    }
    // Sixteen pixels are 96 bytes: the lines the SSE2 loop takes on keep
    // their alignment, and its fence covers both.
    static void Pack(const int16_t *y, const int16_t *cb, const int16_t *cr, int count,
                     PIXEL_YC *out) {
        const int i = sample_rows_avx2::PackBody(y, cb, cr, count, Streaming(out), out);
        TSse2::Pack(y + i, From(cb, i), From(cr, i), count - i, out + i);
    }
    static void Unpack(const PIXEL_YC *in, int count, int32_t *y, int32_t *cb, int32_t *cr,
                       int weight, bool add) {
        const int i = sample_rows_avx2::UnpackBody(in, count, y, cb, cr, weight, add);
        TSse2::Unpack(in + i, count - i, From(y, i), From(cb, i), From(cr, i), weight, add);
    }
    static int PictureIn(const uint8_t *row, int depth, int channels, int width, PIXEL_YC *out) {
        const int i = picture_rows::InAvx2(row, depth, channels, width, out);
        const std::size_t bytes = std::size_t(i) * channels * (depth / 8);
        return i + picture_rows::InSse2(row + bytes, depth, channels, width - i, out + i);
    }
    static int PictureOut(const PIXEL_YC *in, int width, int depth, int channels, uint8_t *row) {
        const int i = picture_rows::OutAvx2(in, width, depth, channels, row);
        const std::size_t bytes = std::size_t(i) * channels * (depth / 8);
        return i + picture_rows::OutSse2(in + i, width - i, depth, channels, row + bytes);
    }
};

#endif

template <class Tier>
constexpr TRowOps RowsOf() {
    return {Tier::template Scale<uint8_t>,
            Tier::template Scale<uint16_t>,
            Tier::template Scale<int32_t>,
            Tier::template Codes<uint8_t>,
            Tier::template Codes<uint16_t>,
            Tier::Pack,
            Tier::Unpack,
            Tier::PictureIn,
            Tier::PictureOut};
}

constexpr TRowOps kBaseline = RowsOf<TBaseline>();
#if defined(__SSE2__)
constexpr TRowOps kSse2 = RowsOf<TSse2>();
constexpr TRowOps kAvx2 = RowsOf<TAvx2>();
#endif

TRowTier HighestTier() {
#if defined(__SSE2__)
    return sample_rows_avx2::Available() ? TRowTier::Avx2 : TRowTier::Sse2;
#else
    return TRowTier::Baseline;
#endif
}

TRowTier FirstTier() {
    const char *named = std::getenv("MORVANE_ROW_TIER");
    const std::string name = named ? named : "";
    const TRowTier highest = HighestTier();
    for (const auto &[tier, text] :
         {std::pair{TRowTier::Baseline, "baseline"}, std::pair{TRowTier::Sse2, "sse2"},
          std::pair{TRowTier::Avx2, "avx2"}})
        if (name == text && tier < highest) return tier;
    return highest;
}

std::atomic<TRowTier> gTier{FirstTier()};

const TRowOps &Rows() { return *RowOpsOf(gTier.load(std::memory_order_relaxed)); }

}  // namespace

const TRowOps *RowOpsOf(TRowTier tier) {
    if (tier > HighestTier()) return nullptr;
    switch (tier) {
#if defined(__SSE2__)
    case TRowTier::Avx2: return &kAvx2;
    case TRowTier::Sse2: return &kSse2;
#endif
    default: return &kBaseline;
    }
}

TRowTier ActiveRowTier() { return gTier.load(); }

bool UseRowTier(TRowTier tier) {
    if (!RowOpsOf(tier)) return false;
    gTier.store(tier);
    return true;
}

void ScaleToHost(const uint8_t *in, int count, THostScale scale, int16_t *out) {
    Rows().ScaleBytes(in, count, scale, out);
}
void ScaleToHost(const uint16_t *in, int count, THostScale scale, int16_t *out) {
    Rows().ScaleWords(in, count, scale, out);
}
void ScaleToHost(const int32_t *in, int count, THostScale scale, int16_t *out) {
    Rows().ScaleSums(in, count, scale, out);
}

void ScaleToCodes(const int32_t *in, int count, TCodeScale scale, uint8_t *out) {
    Rows().CodeBytes(in, count, scale, out);
}
void ScaleToCodes(const int32_t *in, int count, TCodeScale scale, uint16_t *out) {
    Rows().CodeWords(in, count, scale, out);
}

void PackPixels(const int16_t *y, const int16_t *cb, const int16_t *cr, int count, PIXEL_YC *out) {
    Rows().Pack(y, cb, cr, count, out);
}

void UnpackPixels(const PIXEL_YC *in, int count, int32_t *y, int32_t *cb, int32_t *cr, int weight,
                  bool add) {
    Rows().Unpack(in, count, y, cb, cr, weight, add);
}

int PictureRowToHost(const uint8_t *row, int depth, int channels, int width, PIXEL_YC *out) {
    return Rows().PictureIn(row, depth, channels, width, out);
}

int HostToPictureRow(const PIXEL_YC *in, int width, int depth, int channels, uint8_t *row) {
    return Rows().PictureOut(in, width, depth, channels, row);
}
