// Tessolk: the kernel plug-in for processors with SSE2, and with
// MORVANE_KERNEL_HQ TessolkHQ ("SSE-HQ"). Its only export is the record
// below.
#include "kernels/sse/Tessolk.h"

#include "kernels/common/KernelGeometry.h"

namespace tessolk {

int32_t MV_CDECL GetStripBufferSize(LinearFilterContext *context, int32_t) {
    return kernel_geometry::StripBufferBytes(*context);
}

int32_t MV_CDECL GetRowBufferSize(LinearFilterContext *context, int32_t maxRadius) {
    return kernel_geometry::RowBufferBytes(*context, maxRadius);
}

namespace {

const LinearFilterPluginInfo Info = {
#ifdef MORVANE_KERNEL_HQ
    "SSE-HQ",
#else
    "SSE",
#endif
    GetStripBufferSize,
    GetRowBufferSize,
    Process,
    kernel_geometry::TileWidth,
    kernel_geometry::TileHeight,
    kernel_geometry::RowPitch,
};

}  // namespace
}  // namespace tessolk

MV_EXTERN_C MV_EXPORT const LinearFilterPluginInfo *MV_CDECL GetLinearFilterPluginInfo(void) {
    return &tessolk::Info;
}
