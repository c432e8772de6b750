// Where the configuration dialog plugs into the filter's lifecycle: created
// at WM_FILTER_INIT, refreshed at func_update, released at WM_FILTER_EXIT;
// built on the filter's module-wide state.
#pragma once
#include "abi/HostAbi.h"
#include "dialog/ConfigDialogModel.h"

class TConfigDialogBase {
public:
    virtual ~TConfigDialogBase() = default;
    // Shows the saved configuration block in the controls (and may correct it).
    virtual void LoadFromConfig() = 0;
};

// Makes the dialog inside the host's filter window; null while no dialog is
// built into this filter.
using ConfigDialogFactory = TConfigDialogBase *(*)(HWND filterWindow);

// For WM_FILTER_INIT: the dialog inside `filterWindow`, or null when it
// cannot be made (the filter then works on with its saved configuration).
TConfigDialogBase *MakeHostedConfigDialog(HWND filterWindow);
// What the dialog inside `filterWindow` sees and changes of the filter's
// state.
TConfigDialogModel HostedDialogModel(HWND filterWindow);
