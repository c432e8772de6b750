#include "bench/ZimgJob.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

// zimg wants 32-byte lines and planes; 64 covers its 512-bit mode as well.
constexpr std::size_t kAlign = 64;

std::size_t Aligned(std::size_t bytes) { return (bytes + kAlign - 1) / kAlign * kAlign; }

void *AllocAligned(std::size_t bytes) {
    void *p = std::aligned_alloc(kAlign, Aligned(std::max<std::size_t>(bytes, 1)));
    if (!p) throw std::bad_alloc();
    return p;
}

[[noreturn]] void FailZimg(const char *what) {
    char message[1024] = {};
    zimg_get_last_error(message, sizeof message);
    throw std::runtime_error(std::string("zimg: ") + what + ": " + message);
}

// Both ends of the job: the host's YCbCr as 16-bit full range, and the
// linear RGB the resize runs in. The primaries are the same on both sides,
// so zimg converts no gamut.
zimg_image_format Format(int width, int height, bool linear) {
    zimg_image_format f;
    zimg_image_format_default(&f, ZIMG_API_VERSION);
    f.width = unsigned(width);
    f.height = unsigned(height);
    f.color_primaries = ZIMG_PRIMARIES_ST170_M;
    if (linear) {
        f.pixel_type = ZIMG_PIXEL_FLOAT;
        f.color_family = ZIMG_COLOR_RGB;
        f.matrix_coefficients = ZIMG_MATRIX_RGB;
        f.transfer_characteristics = ZIMG_TRANSFER_LINEAR;
        f.depth = 32;
    } else {
        f.pixel_type = ZIMG_PIXEL_WORD;
        f.color_family = ZIMG_COLOR_YUV;
        f.matrix_coefficients = ZIMG_MATRIX_BT470_BG;        // BT.601
        f.transfer_characteristics = ZIMG_TRANSFER_BT470_M;  // pure power 2.2
        f.depth = 16;
    }
    f.pixel_range = ZIMG_RANGE_FULL;
    return f;
}

zimg_graph_builder_params Params(const TZimgSetup &s) {
    zimg_graph_builder_params p;
    zimg_graph_builder_params_default(&p, ZIMG_API_VERSION);
    switch (s.Filter) {
    case TZimgFilter::Spline16: p.resample_filter = ZIMG_RESIZE_SPLINE16; break;
    case TZimgFilter::Spline36: p.resample_filter = ZIMG_RESIZE_SPLINE36; break;
    case TZimgFilter::Lanczos3:
        p.resample_filter = ZIMG_RESIZE_LANCZOS;
        p.filter_param_a = 3;  // taps, as Lanczos' parameter 3 in our window functions
        break;
    }
    // 4:4:4 RGB: every plane is resized with the luma filter.
    p.resample_filter_uv = p.resample_filter;
    p.filter_param_a_uv = p.filter_param_a;
    p.dither_type = ZIMG_DITHER_NONE;
    p.cpu_type = s.Cpu;
    p.allow_approximate_gamma = 1;
    return p;
}

// Largest difference of any 16-bit sample.
int MaxDifference(const TPlanes &a, const TPlanes &b) {
    int worst = 0;
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                worst = std::max(worst, std::abs(int(a.Line16(p, y)[x]) - int(b.Line16(p, y)[x])));
    return worst;
}

}  // namespace

void TPlanes::TFree::operator()(void *p) const { std::free(p); }

TPlanes::TPlanes(int width, int height, int bytesPerSample)
    : FWidth(width),
      FHeight(height),
      FStride(std::ptrdiff_t(Aligned(std::size_t(width) * bytesPerSample))) {
    for (auto &plane : FPlanes) {
        plane.reset(AllocAligned(std::size_t(FStride) * height));
        std::memset(plane.get(), 0, std::size_t(FStride) * height);
    }
}

struct TZimgJob::TStage {
    zimg_filter_graph *Graph = nullptr;
    void *Tmp = nullptr;
    std::unique_ptr<TPlanes> Out;  // null for the last stage, which writes the caller's frame

    ~TStage() {
        zimg_filter_graph_free(Graph);
        std::free(Tmp);
    }
};

namespace {

// The chains tried, shortest first after the plain one; each entry says
// whether the graph's output is linear and at the target size.
struct TChain {
    const char *name;
    int count;
    struct {
        bool linear, resized;
    } ends[3];
};
const TChain kChains[] = {
    {"in | resize | out", 3, {{true, false}, {true, true}, {false, true}}},
    {"in | resize+out", 2, {{true, false}, {false, true}, {}}},
    {"in+resize | out", 2, {{true, true}, {false, true}, {}}},
};

}  // namespace

void TZimgJob::Build(const TZimgSetup &s, int arrangement) {
    const TChain &chain = kChains[arrangement];
    FStages.clear();
    FArrangement = chain.name;
    const zimg_graph_builder_params params = Params(s);
    zimg_image_format from = Format(s.SrcWidth, s.SrcHeight, false);
    for (int i = 0; i < chain.count; ++i) {
        const auto end = chain.ends[i];
        const int w = end.resized ? s.DstWidth : s.SrcWidth;
        const int h = end.resized ? s.DstHeight : s.SrcHeight;
        const zimg_image_format to = Format(w, h, end.linear);
        auto stage = std::make_unique<TStage>();
        stage->Graph = zimg_filter_graph_build(&from, &to, &params);
        if (!stage->Graph) FailZimg("building a graph");
        std::size_t tmp = 0;
        if (zimg_filter_graph_get_tmp_size(stage->Graph, &tmp)) FailZimg("sizing its scratch");
        stage->Tmp = AllocAligned(tmp);
        if (i + 1 < chain.count) stage->Out = std::make_unique<TPlanes>(w, h, end.linear ? 4 : 2);
        FStages.push_back(std::move(stage));
        from = to;
    }
}

TZimgJob::TZimgJob(const TZimgSetup &setup, const TPlanes &probe) {
    Build(setup, 0);
    TPlanes plain(setup.DstWidth, setup.DstHeight, 2), shorter(setup.DstWidth, setup.DstHeight, 2);
    Run(probe, plain);
    // One code of 65535 allows for a float sum taken in another order; a
    // resize in gamma light differs by thousands on the probe's edges.
    for (int arrangement = 1; arrangement < int(std::size(kChains)); ++arrangement) {
        Build(setup, arrangement);
        Run(probe, shorter);
        if (MaxDifference(plain, shorter) <= 1) return;
    }
    Build(setup, 0);
}

TZimgJob::~TZimgJob() = default;

void TZimgJob::Run(const TPlanes &src, TPlanes &dst) {
    const TPlanes *in = &src;
    for (const auto &stage : FStages) {
        TPlanes &out = stage->Out ? *stage->Out : dst;
        zimg_image_buffer_const from{};
        zimg_image_buffer to{};
        from.version = to.version = ZIMG_API_VERSION;
        for (int p = 0; p < 3; ++p) {
            from.plane[p] = {in->Plane(p), in->Stride(), ZIMG_BUFFER_MAX};
            to.plane[p] = {out.Plane(p), out.Stride(), ZIMG_BUFFER_MAX};
        }
        if (zimg_filter_graph_process(stage->Graph, &from, &to, stage->Tmp, nullptr, nullptr,
                                      nullptr, nullptr))
            FailZimg("processing a frame");
        in = &out;
    }
}
