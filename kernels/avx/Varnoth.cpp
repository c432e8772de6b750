// Varnoth: the kernel plug-in for processors with AVX, and with
// MORVANE_KERNEL_HQ VarnothHQ ("AVX-HQ"). Its only export is
// the record below, withheld where AVX cannot run: nothing else checks the
// processor before the kernel is chosen by name, and an AVX instruction there
// would kill the host. Compiled without AVX.
#include "kernels/avx/AvxSupport.h"
#include "kernels/avx/Varnoth.h"
#include "kernels/common/KernelGeometry.h"  // constants only; its functions run in AVX code

namespace varnoth {
namespace {

const LinearFilterPluginInfo Info = {
#ifdef MORVANE_KERNEL_HQ
    "AVX-HQ",
#else
    "AVX",
#endif
    avx::GetStripBufferSize,
    avx::GetRowBufferSize,
    avx::Process,
    kernel_geometry::TileWidth,
    kernel_geometry::TileHeight,
    kernel_geometry::RowPitch,
};

}  // namespace
}  // namespace varnoth

MV_EXTERN_C MV_EXPORT const LinearFilterPluginInfo *MV_CDECL GetLinearFilterPluginInfo(void) {
    return varnoth::ProcessorRunsAvx() ? &varnoth::Info : nullptr;
}
