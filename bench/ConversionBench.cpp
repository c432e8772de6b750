// The tool's conversions around the filter, one thread, one whole frame:
// a Y4M frame into the host's PIXEL_YC frame and back, at the sizes the
// tool's end-to-end comparison uses.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "cli/Y4mConversion.h"

namespace {

TY4mFormat Format(int width, int height, int depth) {
    std::string header = "YUV4MPEG2 W" + std::to_string(width) + " H" + std::to_string(height);
    header += depth == 8 ? " C420jpeg" : " C420p" + std::to_string(depth);
    return ParseY4mHeader(header, "bench");
}

// Codes at random: the conversions take the same path whatever the values.
std::vector<uint8_t> Frame(const TY4mFormat &f) {
    std::vector<uint8_t> bytes(f.FrameBytes());
    std::mt19937 random(1);
    const int mask = (1 << f.Depth) - 1;
    if (f.Depth == 8)
        for (uint8_t &b : bytes) b = uint8_t(random());
    else
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const uint16_t code = uint16_t(random() & mask);
            bytes[i] = uint8_t(code);
            bytes[i + 1] = uint8_t(code >> 8);
        }
    return bytes;
}

void ToHost(benchmark::State &state) {
    const TY4mFormat f = Format(int(state.range(0)), int(state.range(1)), int(state.range(2)));
    const std::vector<uint8_t> frame = Frame(f);
    std::vector<PIXEL_YC> host(std::size_t(f.Width) * f.Height);
    for (auto _ : state) {
        ToHostRows(f, frame.data(), host.data(), f.Width, 0, f.Height);
        benchmark::DoNotOptimize(host.data());
    }
    state.counters["ns/pixel"] = benchmark::Counter(
        double(f.Width) * f.Height,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void ToStream(benchmark::State &state) {
    const TY4mFormat f = Format(int(state.range(0)), int(state.range(1)), int(state.range(2)));
    std::vector<PIXEL_YC> host(std::size_t(f.Width) * f.Height);
    ToHostRows(f, Frame(f).data(), host.data(), f.Width, 0, f.Height);
    std::vector<uint8_t> frame(f.FrameBytes());
    for (auto _ : state) {
        ToStreamRows(f, host.data(), f.Width, frame.data(), 0, StreamBands(f));
        benchmark::DoNotOptimize(frame.data());
    }
    state.counters["ns/pixel"] = benchmark::Counter(
        double(f.Width) * f.Height,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Sizes(benchmark::internal::Benchmark *b) {
    for (int depth : {8, 10}) {
        b->Args({1920, 1080, depth});
        b->Args({1280, 720, depth});
    }
    b->ArgNames({"w", "h", "bits"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(ToHost)->Apply(Sizes);
BENCHMARK(ToStream)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
