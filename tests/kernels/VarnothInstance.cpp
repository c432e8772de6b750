// The kernel tests, run on Varnoth (even/odd paired horizontal sums).
#include "tests/kernels/KernelFixture.h"

INSTANTIATE_TEST_SUITE_P(Varnoth, KernelTest, ::testing::Values(VarnothKernel));
