// The kernel plug-in under test, as a test parameter: each program
// instantiates the kernel tests for its kernel (TessolkInstance.cpp,
// VarnothInstance.cpp, TessolkHqInstance.cpp, VarnothHqInstance.cpp). The library is loaded once by explicit path, its
// record's name checked, and a kernel whose instruction set the processor
// lacks is skipped visibly.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "tests/support/KernelCheck.h"
#include "tests/support/KernelLibrary.h"
#include "tests/support/ReferenceModel.h"

struct KernelUnderTest {
    const char *file;  // in this build's plug-in folder
    const char *name;  // what its record must say
    reference_model::TapOrder horizontalOrder;
    bool needsAvx;
    bool highQuality = false;  // the HQ kernels' steps (reference_model::Job)
};

inline void PrintTo(const KernelUnderTest &k, std::ostream *os) { *os << k.file; }

// The processor and system run AVX code, by the compiler's own check.
inline bool ProcessorHasAvx() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}

// The library of `file`, loaded on first use and kept for the program's life.
inline const testing_support::TKernelLibrary &LoadedKernel(const std::string &file) {
    static std::map<std::string, std::unique_ptr<testing_support::TKernelLibrary>> loaded;
    std::unique_ptr<testing_support::TKernelLibrary> &library = loaded[file];
    if (!library) library = std::make_unique<testing_support::TKernelLibrary>(file);
    return *library;
}

class KernelTest : public ::testing::TestWithParam<KernelUnderTest> {
protected:
    void SetUp() override {
        if (GetParam().needsAvx && !ProcessorHasAvx())
            GTEST_SKIP() << "this processor or system lacks AVX: " << GetParam().file
                         << " not tested";
        const testing_support::TKernelLibrary &library = LoadedKernel(GetParam().file);
        ASSERT_NE(library.Info(), nullptr) << "cannot load " << library.Path();
        ASSERT_STREQ(library.Info()->name, GetParam().name) << library.Path();
    }
    static const LinearFilterPluginInfo &Kernel() { return *LoadedKernel(GetParam().file).Info(); }
    static reference_model::TapOrder Order() { return GetParam().horizontalOrder; }
    static bool HighQuality() { return GetParam().highQuality; }
    static testing_support::KernelModel Model() {
        return testing_support::KernelModel(Order(), HighQuality());
    }
};

const KernelUnderTest TessolkKernel{"Tessolk.dll", "SSE", reference_model::TapOrder::InOrder,
                                    false};
const KernelUnderTest VarnothKernel{"Varnoth.dll", "AVX", reference_model::TapOrder::EvenOddPairs,
                                    true};
const KernelUnderTest TessolkHqKernel{"TessolkHQ.dll", "SSE-HQ", reference_model::TapOrder::InOrder,
                                      false, true};
const KernelUnderTest VarnothHqKernel{"VarnothHQ.dll", "AVX-HQ",
                                      reference_model::TapOrder::EvenOddPairs, true, true};
