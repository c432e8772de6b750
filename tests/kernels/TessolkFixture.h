// Tessolk.dll of this build, loaded once by explicit path for all tests of
// the program. SSE2 is part of every x86-64 processor, so unlike an AVX
// kernel these tests never need to skip.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/KernelLibrary.h"

class TessolkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!Library()) Library() = std::make_unique<testing_support::TKernelLibrary>("Tessolk.dll");
    }
    void SetUp() override {
        ASSERT_NE(Library()->Info(), nullptr) << "cannot load " << Library()->Path();
        ASSERT_STREQ(Library()->Info()->name, "SSE") << Library()->Path();
    }
    static const LinearFilterPluginInfo &Kernel() { return *Library()->Info(); }

private:
    static std::unique_ptr<testing_support::TKernelLibrary> &Library() {
        static std::unique_ptr<testing_support::TKernelLibrary> library;
        return library;
    }
};
