// The filter's face toward the host: registration record, callbacks and the
// module-wide state that ties settings, plug-in lists and driver together.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog/FilterProtocol.h"
#include "host/DialogSeam.h"
#include "host/FilterConfig.h"
#include "host/PluginLists.h"
#include "abi/HostAbi.h"
#include "resize/Filter.h"


// The filter's module-wide state, which the callbacks and the dialog
// hook-up work on.
struct TFilterState {
    // The one saved configuration block the host keeps in its projects.
    TFilterConfig FilterConfig = InitialFilterConfig;
    // The settings file, the plug-in folder it names and the lists found there.
    TFilterPluginLists Plugins;
    std::string SizeList;
    std::unique_ptr<TFilter> ResizeDriver;
    HWND FilterWindow = nullptr;
    std::unique_ptr<TConfigDialogBase> ConfigDialog;
    int32_t HostMaxWidth = 0;
    int32_t HostMaxHeight = 0;
    // The block as ApplyConfig last handed it to the driver. The editor may
    // change the block and send frames without a func_update in between.
    std::optional<TFilterConfig> AppliedConfig;
};
extern TFilterState FilterState;

// GetFilterTable's work, for the plug-in file at `modulePath`: reads the
// settings, loads both plug-in lists and returns the registration record.
FILTER_DLL *LoadFilterTable(const std::string &modulePath);
// The registration record with both plug-in lists empty, for when loading
// failed: the editor still keeps the project's saved block.
FILTER_DLL *RegistrationWithoutPlugins() noexcept;

BOOL MV_CDECL func_init(FILTER *fp);
BOOL MV_CDECL func_exit(FILTER *fp);
BOOL MV_CDECL func_update(FILTER *fp, int status);
BOOL MV_CDECL func_WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, void *editp,
                           FILTER *fp);
BOOL MV_CDECL func_proc(FILTER *fp, FILTER_PROC_INFO *fpip);

// Keeps the block's parameter and the chosen function's remembered one in step.
void SyncFuncParam();
// Hands the driver a weight builder and a kernel for the saved names.
void ApplyConfig();
// func_update's work: the block reconciled, applied and shown in the dialog,
// and applied again should the dialog have corrected it, so that the frames,
// the block and the dialog agree.
void UpdateConfig();
// UpdateConfig unless the block is exactly as last applied; before a frame.
void UpdateConfigIfChanged();
