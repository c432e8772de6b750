// The filter's face toward the host: registration record, callbacks and the
// module-wide state that ties settings, plug-in lists and driver together.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog/ConfigDialogFactory.h"
#include "dialog/FilterProtocol.h"
#include "host/DialogHookup.h"
#include "abi/FilterConfig.h"
#include "host/PluginLists.h"
#include "host/Settings.h"
#include "abi/HostAbi.h"
#include "resize/Filter.h"
#include "resize/GammaTables.h"

// The filter's module-wide state, which the callbacks and the dialog
// hook-up work on.
struct TFilterState {
    // The registration record points into the state, which therefore stays
    // where it was made.
    TFilterState();
    TFilterState(const TFilterState &) = delete;
    TFilterState &operator=(const TFilterState &) = delete;

    // The one saved configuration block the host keeps in its projects.
    TFilterConfig FilterConfig = InitialFilterConfig;
    // What GetFilterTable hands the host, and the texts the record points to.
    FILTER_DLL FilterTable{};
    static constexpr std::size_t FilterNameBytes = 64;
    char FilterName[FilterNameBytes + 1] = {};
    std::string Information = std::string(settings::DeliveredFilterName) + " Ver.110619";
    // The settings file, the plug-in folder it names and the lists found there.
    TFilterPluginLists Plugins;
    std::string SizeList;
    // Before the driver, which reads them and so must go first.
    TGammaTables GammaTables;
    std::unique_ptr<TFilter> ResizeDriver;
    HWND FilterWindow = nullptr;
    // Makes the dialog at WM_FILTER_INIT; tests put in their own.
    ConfigDialogFactory CreateConfigDialog;
    // Before the dialog, so that it is there to take the dialog's release.
    TConfigDialogs Dialogs;
    std::unique_ptr<TConfigDialogBase> ConfigDialog;
    int32_t HostMaxWidth = 0;
    int32_t HostMaxHeight = 0;
    // The block as ApplyConfig last handed it to the driver. The editor may
    // change the block and send frames without a func_update in between.
    std::optional<TFilterConfig> AppliedConfig;
};
// The host's callbacks carry no pointer of the filter's choosing, and it
// keeps the record's address: one state for the module, where they find it.
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
// func_update's work: the block held to the function's limits, shown (and
// corrected) by the dialog, then applied, so that the frames, the block and
// the dialog agree.
void UpdateConfig();
// UpdateConfig unless the block is exactly as last applied; before a frame.
void UpdateConfigIfChanged();
