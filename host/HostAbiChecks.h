// The host's 32-bit layouts; included by HostAbi.h.
#pragma once
#include <cstddef>

static_assert(sizeof(PIXEL_YC) == 6 && offsetof(PIXEL_YC, cb) == 2 && offsetof(PIXEL_YC, cr) == 4);

#if MV_POINTERS_ARE_32BIT
static_assert(sizeof(FILTER) == 140);
static_assert(offsetof(FILTER, x) == 4 && offsetof(FILTER, y) == 8);
static_assert(offsetof(FILTER, name) == 12 && offsetof(FILTER, track_n) == 16);
static_assert(offsetof(FILTER, track_name) == 20 && offsetof(FILTER, track_default) == 24);
static_assert(offsetof(FILTER, track_s) == 28 && offsetof(FILTER, track_e) == 32);
static_assert(offsetof(FILTER, check_n) == 36 && offsetof(FILTER, check_name) == 40);
static_assert(offsetof(FILTER, check_default) == 44 && offsetof(FILTER, func_proc) == 48);
static_assert(offsetof(FILTER, func_init) == 52 && offsetof(FILTER, func_exit) == 56);
static_assert(offsetof(FILTER, func_update) == 60 && offsetof(FILTER, func_WndProc) == 64);
static_assert(offsetof(FILTER, track) == 68 && offsetof(FILTER, check) == 72);
static_assert(offsetof(FILTER, ex_data_ptr) == 76 && offsetof(FILTER, ex_data_size) == 80);
static_assert(offsetof(FILTER, information) == 84 && offsetof(FILTER, func_save_start) == 88);
static_assert(offsetof(FILTER, func_save_end) == 92 && offsetof(FILTER, exfunc) == 96);
static_assert(offsetof(FILTER, hwnd) == 100 && offsetof(FILTER, dll_hinst) == 104);
static_assert(offsetof(FILTER, ex_data_def) == 108 && offsetof(FILTER, func_is_saveframe) == 112);
static_assert(offsetof(FILTER, func_project_load) == 116);
static_assert(offsetof(FILTER, func_project_save) == 120);
static_assert(offsetof(FILTER, func_modify_title) == 124 && offsetof(FILTER, dll_path) == 128);
static_assert(offsetof(FILTER, reserved) == 132);

static_assert(sizeof(FILTER_PROC_INFO) == 104);
static_assert(offsetof(FILTER_PROC_INFO, ycp_edit) == 4 && offsetof(FILTER_PROC_INFO, ycp_temp) == 8);
static_assert(offsetof(FILTER_PROC_INFO, w) == 12 && offsetof(FILTER_PROC_INFO, h) == 16);
static_assert(offsetof(FILTER_PROC_INFO, max_w) == 20 && offsetof(FILTER_PROC_INFO, max_h) == 24);
static_assert(offsetof(FILTER_PROC_INFO, frame) == 28 && offsetof(FILTER_PROC_INFO, frame_n) == 32);
static_assert(offsetof(FILTER_PROC_INFO, org_w) == 36 && offsetof(FILTER_PROC_INFO, org_h) == 40);
static_assert(offsetof(FILTER_PROC_INFO, audiop) == 44 && offsetof(FILTER_PROC_INFO, audio_n) == 48);
static_assert(offsetof(FILTER_PROC_INFO, audio_ch) == 52 && offsetof(FILTER_PROC_INFO, pixelp) == 56);
static_assert(offsetof(FILTER_PROC_INFO, editp) == 60 && offsetof(FILTER_PROC_INFO, yc_size) == 64);
static_assert(offsetof(FILTER_PROC_INFO, line_size) == 68 && offsetof(FILTER_PROC_INFO, reserved) == 72);

static_assert(sizeof(SYS_INFO) == 76);
static_assert(offsetof(SYS_INFO, info) == 4 && offsetof(SYS_INFO, filter_n) == 8);
static_assert(offsetof(SYS_INFO, min_w) == 12 && offsetof(SYS_INFO, min_h) == 16);
static_assert(offsetof(SYS_INFO, max_w) == 20 && offsetof(SYS_INFO, max_h) == 24);
static_assert(offsetof(SYS_INFO, max_frame) == 28 && offsetof(SYS_INFO, edit_name) == 32);
static_assert(offsetof(SYS_INFO, project_name) == 36 && offsetof(SYS_INFO, output_name) == 40);
static_assert(offsetof(SYS_INFO, vram_w) == 44 && offsetof(SYS_INFO, vram_h) == 48);
static_assert(offsetof(SYS_INFO, vram_yc_size) == 52 && offsetof(SYS_INFO, vram_line_size) == 56);
static_assert(offsetof(SYS_INFO, hfont) == 60 && offsetof(SYS_INFO, build) == 64);
static_assert(offsetof(SYS_INFO, reserved) == 68);

static_assert(sizeof(EXFUNC) == 320);
static_assert(offsetof(EXFUNC, is_filter_active) == 100);
static_assert(offsetof(EXFUNC, get_sys_info) == 160);
static_assert(offsetof(EXFUNC, exec_multi_thread_func) == 204);
#endif
