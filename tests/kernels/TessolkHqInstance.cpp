// The kernel tests, run on TessolkHQ (in-order horizontal sums, HQ steps).
#include "tests/kernels/KernelFixture.h"

INSTANTIATE_TEST_SUITE_P(TessolkHQ, KernelTest, ::testing::Values(TessolkHqKernel));
