// What the tool prints on success.
#pragma once
#include <ostream>

#include "cli/CommandLine.h"
#include "cli/PluginInventory.h"
#include "cli/ResizeJob.h"
#include "cli/RgbImage.h"

// Sizes, function and parameter, kernel, threads and time per frame.
void PrintReport(const TToolOptions &options, const TPluginInventory &inventory,
                 const TRgbImage &input, const TResizeOutcome &outcome, std::ostream &out);
// The window functions with their parameter ranges, and the kernels.
void PrintInventory(const TPluginInventory &inventory, std::ostream &out);
