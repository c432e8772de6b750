// The tile tables that tell a kernel which source columns and rows each tile
// of the destination needs; built from the context's two weight tables.
#pragma once
#include <cstdint>

#include "abi/LinearFilter.h"

// Fills ctx.hTiles[0 .. tilesAcross-1] from ctx.hWeights, whose starts are in
// units of ctx.columnUnit. Each tile covers `tileWidth` destination columns,
// the last one up to dstWidth. The caller has allocated hTiles.
void BuildHorizontalTiles(LinearFilterContext &ctx, int32_t tileWidth);

// Fills ctx.vTiles[0 .. tilesDown-1] from ctx.vWeights, whose starts are in
// units of `rowPitch` (the kernel's row-buffer pitch, bytes).
void BuildVerticalTiles(LinearFilterContext &ctx, int32_t tileHeight, int32_t rowPitch);

// Both of the above.
void BuildTileTables(LinearFilterContext &ctx, int32_t tileWidth, int32_t tileHeight,
                     int32_t rowPitch);
