// The configuration dialog built on the filter's module-wide state.
#pragma once
#include "dialog/ConfigDialogModel.h"
#include "host/DialogSeam.h"

// For WM_FILTER_INIT: the dialog inside `filterWindow`, or null when it
// cannot be made (the filter then works on with its saved configuration).
TConfigDialogBase *MakeHostedConfigDialog(HWND filterWindow);
// What the dialog inside `filterWindow` sees and changes of the filter's
// state.
TConfigDialogModel HostedDialogModel(HWND filterWindow);
