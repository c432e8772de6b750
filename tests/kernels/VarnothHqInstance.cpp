// The kernel tests, run on VarnothHQ (even/odd paired horizontal sums, HQ
// steps).
#include "tests/kernels/KernelFixture.h"

INSTANTIATE_TEST_SUITE_P(VarnothHQ, KernelTest, ::testing::Values(VarnothHqKernel));
