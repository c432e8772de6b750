// The kernel tests, run on Tessolk (in-order horizontal sums).
#include "tests/kernels/KernelFixture.h"

INSTANTIATE_TEST_SUITE_P(Tessolk, KernelTest, ::testing::Values(TessolkKernel));
