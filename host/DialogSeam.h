// Where the configuration dialog plugs into the filter's lifecycle: created
// at WM_FILTER_INIT, refreshed at func_update, released at WM_FILTER_EXIT.
#pragma once
#include "abi/HostAbi.h"

class TConfigDialogBase {
public:
    virtual ~TConfigDialogBase() = default;
    // Shows the saved configuration block in the controls (and may correct it).
    virtual void LoadFromConfig() = 0;
};

// Makes the dialog inside the host's filter window; null while no dialog is
// built into this filter.
using ConfigDialogFactory = TConfigDialogBase *(*)(HWND filterWindow);
