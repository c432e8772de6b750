/* The stand-in host's question to the filter: what it offers a saved block
   (its plug-in folder and settings file, window functions, kernels), asked
   through func_WndProc so that the tool sees exactly the lists the filter
   loaded, without a second load of its own. The editor never sends it. */
#ifndef MORVANE_FILTEROFFER_H
#define MORVANE_FILTEROFFER_H

#include <stddef.h>
#include <stdint.h>

#include "abi/CallConv.h"

/* lparam: a FILTER_OFFER_TEXT. Beyond the dialog's own messages (0x8200 on). */
#define WM_FILTER_OFFER 0x8280

/* The filter writes the whole answer into `text` when it fits `capacity`
   and sets `length` to the answer's size either way; func_WndProc returns
   TRUE once it has answered. The answer's layout is the filter's and the
   tool's own (plugins/FilterOffer.h). */
typedef struct FILTER_OFFER_TEXT {
    int32_t capacity;
    int32_t length;
    char *text;
} FILTER_OFFER_TEXT;

MV_ABI_CHECK(offsetof(FILTER_OFFER_TEXT, length) == 4);
MV_ABI_CHECK(offsetof(FILTER_OFFER_TEXT, text) == 8);
MV_ABI_CHECK(sizeof(FILTER_OFFER_TEXT) == 8 + sizeof(char *));

#endif
