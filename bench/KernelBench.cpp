// Process alone, per kernel plug-in: whole frames at the common HD sizes,
// 6- and 4-tap tables, on 1 and 2 threads. Reports milliseconds per frame
// and output megapixels per second. Kernels whose library is not built, or
// whose instruction set the processor lacks, are reported as skipped.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>

#include "tests/support/KernelContext.h"
#include "tests/support/KernelLibrary.h"
#include "tests/support/TestFrames.h"

namespace {

using namespace testing_support;

// Add a kernel plug-in here to measure it alongside the others.
const char *const KernelFiles[] = {"Tessolk.dll", "Varnoth.dll"};

struct Scenario {
    const char *name;
    int32_t srcWidth, srcHeight, dstWidth, dstHeight;
};

const Scenario Scenarios[] = {{"1920x1080_to_1280x720", 1920, 1080, 1280, 720},
                              {"1280x720_to_1920x1080", 1280, 720, 1920, 1080}};

// Varnoth withholds its record where AVX cannot run, so ask first: a null
// record there does not mean that the library is missing.
bool Runnable(const std::string &file) {
    if (file.find("Varnoth") == std::string::npos) return true;
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}

// One frame on `threads` threads; a single thread runs on the caller.
void RunFrame(const LinearFilterPluginInfo &k, TKernelContext &context, void *dst,
              const void *src) {
    context.StartFrame();
    if (context.Threads() == 1)
        k.Process(dst, src, &context.Context(), 0, 1);
    else
        RunProcess(k, context.Context(), dst, src, context.Threads());
}

void BenchProcess(benchmark::State &state, const std::string &file, Scenario s, int32_t taps,
                  int32_t threads) {
    if (!Runnable(file)) return state.SkipWithError("the processor lacks the instruction set");
    TKernelLibrary library(file);
    if (!library.Info()) return state.SkipWithError(("not built: " + library.Path()).c_str());
    const LinearFilterPluginInfo &k = *library.Info();
    std::mt19937 rng{uint32_t(taps)};
    const int32_t maxW = std::max(s.srcWidth, s.dstWidth);
    const int32_t maxH = std::max(s.srcHeight, s.dstHeight);
    TKernelContext context(k, Geometry{s.srcWidth, s.srcHeight, s.dstWidth, s.dstHeight, maxW},
                           threads, FixedTaps(s.srcWidth, s.dstWidth, taps, rng),
                           FixedTaps(s.srcHeight, s.dstHeight, taps, rng));
    TTestFrame src(maxW, maxH), dst(maxW, maxH);
    FillRandomPixels(src.Pixels(), maxW, s.srcWidth, s.srcHeight, 1);
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) RunFrame(k, context, dst.Pixels(), src.Pixels());
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - begin;

    // Wall-clock figures: the frame's work is spread over other threads.
    const double frames = double(state.iterations());
    state.counters["ms_per_frame"] = elapsed.count() * 1000.0 / frames;
    state.counters["out_MPix_per_s"] = frames * s.dstWidth * s.dstHeight / 1e6 / elapsed.count();
}

void RegisterAll() {
    for (const char *file : KernelFiles)
        for (const Scenario &s : Scenarios)
            for (int32_t taps : {6, 4})
                for (int32_t threads : {1, 2}) {
                    const std::string name = std::string("Process/") + file + "/" + s.name + "/" +
                                             std::to_string(taps) +
                                             "taps/threads:" + std::to_string(threads);
                    benchmark::RegisterBenchmark(name.c_str(), BenchProcess, std::string(file), s,
                                                 taps, threads)
                        ->UseRealTime()
                        ->Unit(benchmark::kMillisecond);
                }
}

}  // namespace

int main(int argc, char **argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
