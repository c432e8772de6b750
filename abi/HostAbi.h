/* The host editor's filter plug-in records, functions and messages. Plain C;
   on 32-bit builds every offset is the host's binary layout (checked below);
   64-bit builds keep the field order with wider pointers. */
#ifndef MORVANE_HOSTABI_H
#define MORVANE_HOSTABI_H

#include <stddef.h>
#include <stdint.h>

#include "abi/CallConv.h"
#include "abi/WindowTypes.h"

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PIXEL_YC {
    int16_t y;   // nominally 0..4096
    int16_t cb;  // nominally -2048..2048
    int16_t cr;
} PIXEL_YC;

typedef struct FILTER FILTER;
typedef struct FILTER_PROC_INFO FILTER_PROC_INFO;
typedef struct SYS_INFO SYS_INFO;

typedef void(MV_CDECL *MULTI_THREAD_FUNC)(int thread_id, int thread_num, void *param1,
                                          void *param2);

// The host's service table; only three of its 80 slots are used here.
typedef struct EXFUNC {
    void *unused0[25];
    BOOL(MV_CDECL *is_filter_active)(FILTER *fp);
    void *unused26[14];
    BOOL(MV_CDECL *get_sys_info)(void *editp, SYS_INFO *sip);
    void *unused41[10];
    BOOL(MV_CDECL *exec_multi_thread_func)(MULTI_THREAD_FUNC func, void *param1, void *param2);
    void *unused52[28];
} EXFUNC;

typedef BOOL(MV_CDECL *FilterProcFunc)(FILTER *fp, FILTER_PROC_INFO *fpip);
typedef BOOL(MV_CDECL *FilterInitFunc)(FILTER *fp);
typedef BOOL(MV_CDECL *FilterExitFunc)(FILTER *fp);
typedef BOOL(MV_CDECL *FilterUpdateFunc)(FILTER *fp, int status);
typedef BOOL(MV_CDECL *FilterWndProcFunc)(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                          void *editp, FILTER *fp);

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
typedef FILTER FILTER_DLL;

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

#ifdef __cplusplus
}
#endif

#define FILTER_FLAG_EX_DATA 0x400
#define FILTER_FLAG_WINDOW_SIZE 0x4000
#define FILTER_FLAG_EX_INFORMATION 0x40000

#define WM_FILTER_INIT 0x467
#define WM_FILTER_EXIT 0x468
#define WM_FILTER_CHANGE_ACTIVE 0x46D

MV_ABI_CHECK(sizeof(PIXEL_YC) == 6 && offsetof(PIXEL_YC, cb) == 2 && offsetof(PIXEL_YC, cr) == 4);

#if MV_POINTERS_ARE_32BIT
MV_ABI_CHECK(sizeof(FILTER) == 140);
MV_ABI_CHECK(offsetof(FILTER, x) == 4 && offsetof(FILTER, y) == 8);
MV_ABI_CHECK(offsetof(FILTER, name) == 12 && offsetof(FILTER, track_n) == 16);
MV_ABI_CHECK(offsetof(FILTER, track_name) == 20 && offsetof(FILTER, track_default) == 24);
MV_ABI_CHECK(offsetof(FILTER, track_s) == 28 && offsetof(FILTER, track_e) == 32);
MV_ABI_CHECK(offsetof(FILTER, check_n) == 36 && offsetof(FILTER, check_name) == 40);
MV_ABI_CHECK(offsetof(FILTER, check_default) == 44 && offsetof(FILTER, func_proc) == 48);
MV_ABI_CHECK(offsetof(FILTER, func_init) == 52 && offsetof(FILTER, func_exit) == 56);
MV_ABI_CHECK(offsetof(FILTER, func_update) == 60 && offsetof(FILTER, func_WndProc) == 64);
MV_ABI_CHECK(offsetof(FILTER, track) == 68 && offsetof(FILTER, check) == 72);
MV_ABI_CHECK(offsetof(FILTER, ex_data_ptr) == 76 && offsetof(FILTER, ex_data_size) == 80);
MV_ABI_CHECK(offsetof(FILTER, information) == 84 && offsetof(FILTER, func_save_start) == 88);
MV_ABI_CHECK(offsetof(FILTER, func_save_end) == 92 && offsetof(FILTER, exfunc) == 96);
MV_ABI_CHECK(offsetof(FILTER, hwnd) == 100 && offsetof(FILTER, dll_hinst) == 104);
MV_ABI_CHECK(offsetof(FILTER, ex_data_def) == 108 && offsetof(FILTER, func_is_saveframe) == 112);
MV_ABI_CHECK(offsetof(FILTER, func_project_load) == 116);
MV_ABI_CHECK(offsetof(FILTER, func_project_save) == 120);
MV_ABI_CHECK(offsetof(FILTER, func_modify_title) == 124 && offsetof(FILTER, dll_path) == 128);
MV_ABI_CHECK(offsetof(FILTER, reserved) == 132);

MV_ABI_CHECK(sizeof(FILTER_PROC_INFO) == 104);
MV_ABI_CHECK(offsetof(FILTER_PROC_INFO, ycp_edit) == 4 &&
             offsetof(FILTER_PROC_INFO, ycp_temp) == 8);
MV_ABI_CHECK(offsetof(FILTER_PROC_INFO, w) == 12 && offsetof(FILTER_PROC_INFO, h) == 16);
MV_ABI_CHECK(offsetof(FILTER_PROC_INFO, max_w) == 20 && offsetof(FILTER_PROC_INFO, max_h) == 24);
MV_ABI_CHECK(offsetof(FILTER_PROC_INFO, frame) == 28 && offsetof(FILTER_PROC_INFO, frame_n) == 32);
MV_ABI_CHECK(offsetof(FILTER_PROC_INFO, org_w) == 36 && offsetof(FILTER_PROC_INFO, org_h) == 40);
MV_ABI_CHECK(offsetof(FILTER_PROC_INFO, audiop) == 44 && offsetof(FILTER_PROC_INFO, audio_n) == 48);
MV_ABI_CHECK(offsetof(FILTER_PROC_INFO, audio_ch) == 52 &&
             offsetof(FILTER_PROC_INFO, pixelp) == 56);
MV_ABI_CHECK(offsetof(FILTER_PROC_INFO, editp) == 60 && offsetof(FILTER_PROC_INFO, yc_size) == 64);
MV_ABI_CHECK(offsetof(FILTER_PROC_INFO, line_size) == 68 &&
             offsetof(FILTER_PROC_INFO, reserved) == 72);

MV_ABI_CHECK(sizeof(SYS_INFO) == 76);
MV_ABI_CHECK(offsetof(SYS_INFO, info) == 4 && offsetof(SYS_INFO, filter_n) == 8);
MV_ABI_CHECK(offsetof(SYS_INFO, min_w) == 12 && offsetof(SYS_INFO, min_h) == 16);
MV_ABI_CHECK(offsetof(SYS_INFO, max_w) == 20 && offsetof(SYS_INFO, max_h) == 24);
MV_ABI_CHECK(offsetof(SYS_INFO, max_frame) == 28 && offsetof(SYS_INFO, edit_name) == 32);
MV_ABI_CHECK(offsetof(SYS_INFO, project_name) == 36 && offsetof(SYS_INFO, output_name) == 40);
MV_ABI_CHECK(offsetof(SYS_INFO, vram_w) == 44 && offsetof(SYS_INFO, vram_h) == 48);
MV_ABI_CHECK(offsetof(SYS_INFO, vram_yc_size) == 52 && offsetof(SYS_INFO, vram_line_size) == 56);
MV_ABI_CHECK(offsetof(SYS_INFO, hfont) == 60 && offsetof(SYS_INFO, build) == 64);
MV_ABI_CHECK(offsetof(SYS_INFO, reserved) == 68);

MV_ABI_CHECK(sizeof(EXFUNC) == 320);
MV_ABI_CHECK(offsetof(EXFUNC, is_filter_active) == 100);
MV_ABI_CHECK(offsetof(EXFUNC, get_sys_info) == 160);
MV_ABI_CHECK(offsetof(EXFUNC, exec_multi_thread_func) == 204);
#endif

#endif
