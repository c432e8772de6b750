// The host editor's filter plug-in records, functions and messages. On 32-bit
// builds every offset is the host's binary layout (checked below); 64-bit
// builds keep the field order with wider pointers.
#pragma once
#include <cstdint>

#include "kernels/common/CallConv.h"

#ifdef _WIN32
#include <windows.h>
#else
using BOOL = int32_t;
using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using HWND = void *;
using HINSTANCE = void *;
using HFONT = void *;
#endif

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

extern "C" {

struct PIXEL_YC {
    int16_t y;   // nominally 0..4096
    int16_t cb;  // nominally -2048..2048
    int16_t cr;
};

struct FILTER;
struct FILTER_PROC_INFO;
struct SYS_INFO;

using MULTI_THREAD_FUNC = void(MV_CDECL *)(int thread_id, int thread_num, void *param1,
                                           void *param2);

// The host's service table; only three of its 80 slots are used here.
struct EXFUNC {
    void *unused0[25];
    BOOL(MV_CDECL *is_filter_active)(FILTER *fp);
    void *unused26[14];
    BOOL(MV_CDECL *get_sys_info)(void *editp, SYS_INFO *sip);
    void *unused41[10];
    BOOL(MV_CDECL *exec_multi_thread_func)(MULTI_THREAD_FUNC func, void *param1, void *param2);
    void *unused52[28];
};

using FilterProcFunc = BOOL(MV_CDECL *)(FILTER *fp, FILTER_PROC_INFO *fpip);
using FilterInitFunc = BOOL(MV_CDECL *)(FILTER *fp);
using FilterExitFunc = BOOL(MV_CDECL *)(FILTER *fp);
using FilterUpdateFunc = BOOL(MV_CDECL *)(FILTER *fp, int status);
using FilterWndProcFunc = BOOL(MV_CDECL *)(HWND hwnd, UINT message, WPARAM wparam,
                                           LPARAM lparam, void *editp, FILTER *fp);

// The registration record (FILTER_DLL) and the host's live copy (FILTER)
// share one layout.
struct FILTER {
    int flag;
    int x;
    int y;
    char *name;
    int track_n;
    char **track_name;
    int *track_default;
    int *track_s;
    int *track_e;
    int check_n;
    char **check_name;
    int *check_default;
    FilterProcFunc func_proc;
    FilterInitFunc func_init;
    FilterExitFunc func_exit;
    FilterUpdateFunc func_update;
    FilterWndProcFunc func_WndProc;
    int *track;
    int *check;
    void *ex_data_ptr;
    int ex_data_size;
    char *information;
    void *func_save_start;
    void *func_save_end;
    EXFUNC *exfunc;
    HWND hwnd;
    HINSTANCE dll_hinst;
    void *ex_data_def;
    void *func_is_saveframe;
    void *func_project_load;
    void *func_project_save;
    void *func_modify_title;
    char *dll_path;
    int reserved[2];
};
using FILTER_DLL = FILTER;

struct FILTER_PROC_INFO {
    int flag;
    PIXEL_YC *ycp_edit;  // current frame
    PIXEL_YC *ycp_temp;  // work frame
    int w;
    int h;
    int max_w;  // pixels per frame line
    int max_h;
    int frame;
    int frame_n;
    int org_w;
    int org_h;
    short *audiop;
    int audio_n;
    int audio_ch;
    void *pixelp;
    void *editp;
    int yc_size;
    int line_size;
    int reserved[8];
};

struct SYS_INFO {
    int flag;
    char *info;
    int filter_n;
    int min_w;
    int min_h;
    int max_w;
    int max_h;
    int max_frame;
    char *edit_name;
    char *project_name;
    char *output_name;
    int vram_w;
    int vram_h;
    int vram_yc_size;
    int vram_line_size;
    HFONT hfont;
    int build;
    int reserved[2];
};

}  // extern "C"

constexpr int FILTER_FLAG_EX_DATA = 0x400;
constexpr int FILTER_FLAG_WINDOW_SIZE = 0x4000;
constexpr int FILTER_FLAG_EX_INFORMATION = 0x40000;

constexpr UINT WM_FILTER_INIT = 0x467;
constexpr UINT WM_FILTER_EXIT = 0x468;
constexpr UINT WM_FILTER_CHANGE_ACTIVE = 0x46D;

#include "host/HostAbiChecks.h"
