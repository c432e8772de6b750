// The filter's answer to WM_FILTER_OFFER: its lists as loaded, for a host
// program's checks and reports.
#pragma once
#include "abi/HostAbi.h"
#include "host/PluginLists.h"

// `lparam` is the asker's FILTER_OFFER_TEXT; FALSE when there is none.
BOOL AnswerOffer(const TFilterPluginLists &plugins, int32_t maxWidth, int32_t maxHeight,
                 LPARAM lparam);
