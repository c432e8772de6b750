// What the tool prints on success.
#pragma once
#include <ostream>

#include "cli/CommandLine.h"
#include "cli/PluginInventory.h"
#include "cli/ResizeJob.h"
#include "plugins/ConfigResolver.h"
#include <string>

// What one input became, for the report.
struct TJobSummary {
    std::string Input, Output;
    int InWidth = 0, InHeight = 0;
    int OutWidth = 0, OutHeight = 0;
    int Frames = 0;  // video frames written; 0 for a picture

    void SetSizes(int inWidth, int inHeight, const TFramePlan &plan) {
        InWidth = inWidth;
        InHeight = inHeight;
        OutWidth = plan.Width;
        OutHeight = plan.Height;
    }
};

// Sizes, what ran (`ran`, as the filter's rules decided it before the
// run), threads and time per frame; at an unchanged size, that the filter
// passed the frame through.
void PrintReport(const TToolOptions &options, const TPluginInventory &inventory,
                 const TConfigRun &ran, const TJobSummary &job, const TResizeOutcome &outcome,
                 std::ostream &out);
// The window functions with their parameter ranges, and the kernels.
void PrintInventory(const TPluginInventory &inventory, std::ostream &out);
