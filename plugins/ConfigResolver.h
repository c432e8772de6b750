// What a saved block runs and what the filter corrects in it: the one set of
// rules behind func_update, the frames, the dialog and the tool. Plain
// values in and out, so that a caller needs neither the filter's lists nor
// its state, only what they offer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "abi/FilterConfig.h"

// The window-function entry that selects the built-in area average.
constexpr const char *AreaAverageName = "AreaAverage";

// A window function as the filter lists it.
struct TWindowFuncOffer {
    std::string Name;
    bool HasParam = false;  // the function names a parameter the dialog shows
    int16_t ParamMin = 0, ParamMax = 0, ParamDefault = 0;
    int16_t Remembered = 0;  // the parameter the filter remembers for it
};

// What the filter offers a block.
struct TConfigOffer {
    std::vector<TWindowFuncOffer> WindowFuncs;  // in list order
    std::vector<std::string> Kernels;           // names, in list order
    int32_t MaxWidth = 0, MaxHeight = 0;        // the host's largest frame
    // While the dialog shows the block: its sizes, in list order.
    bool DialogShown = false;
    std::vector<std::string> ListedSizes;
};

enum class TWeighting : int32_t { None, AreaAverage, WindowFunc };
enum class TSizeFault : int32_t { None, NotASize, BeyondLargestFrame };

// What the frames get for a block. Frames pass unchanged too where the
// source already has the target size, or where the chosen function refuses
// its parameter once asked (a radius beyond what the kernels hold).
struct TConfigRun {
    // False without kernels: nothing is applied and the filter keeps what
    // it had, which is nothing while no kernel was ever listed.
    bool Applies = false;
    TWeighting Weighting = TWeighting::None;  // None: frames pass unchanged
    int32_t WindowFunc = -1;                  // index into WindowFuncs
    bool FuncFallback = false;    // the block's function is not listed: the first, its default
    int32_t Param = 0;            // as handed to the function: the low 16 bits, without sign
    int32_t Kernel = -1;          // index into Kernels
    bool KernelFallback = false;  // the block's kernel is not listed (or empty): the first
    int32_t Width = 0, Height = 0;
    TSizeFault SizeFault = TSizeFault::None;  // frames of a faulty size pass unchanged
};

struct TConfigResolution {
    TConfigRun Run;  // for the block as given
    // The block once func_update has held its parameter to the function's
    // limits, and the function whose remembered parameter then changes.
    TFilterConfig Synced;
    int32_t RememberFunc = -1;
    int16_t Remembered = 0;
    // The block as the dialog shows it (the block itself while none does):
    // listed names, the shown function's parameter, a size it can list.
    TFilterConfig Shown;
    int32_t FuncEntry = -1;    // index into WindowFuncs; their count is the area average
    int32_t KernelEntry = -1;  // -1 with no kernel listed
    int32_t SizeEntry = -1;    // index into ListedSizes; -1: the size is to be listed
    TSizeFault SizeRefused = TSizeFault::None;  // why the shown size is the first listed
};

TConfigResolution ResolveConfig(const TFilterConfig &block, const TConfigOffer &offer);
// The block once the dialog's function entry `entry` (the area average
// after the functions) is chosen: a newly named function brings its
// remembered parameter, the area average 0.
TFilterConfig WithFuncEntry(const TFilterConfig &block, const TConfigOffer &offer, int32_t entry);
// What the editor's frames get once it has restored `block`: the block is
// corrected before the first frame (by the dialog too while it is open).
TConfigRun RunAfterRestore(const TFilterConfig &block, const TConfigOffer &offer);

TSizeFault CheckSize(int32_t width, int32_t height, int32_t maxWidth, int32_t maxHeight);
// Inside the function's limits, compared as 32 bits.
bool InLimits(const TWindowFuncOffer &func, int32_t param);
// A remembered parameter read from the settings, held to the limits of a
// function that shows its parameter (and has a range at all).
int16_t HeldToLimits(const TWindowFuncOffer &func, int16_t param);
