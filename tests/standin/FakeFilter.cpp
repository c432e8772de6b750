// A filter plug-in for the stand-in host's own tests. It writes one line per
// event to the test log, so a test sees which calls arrived, in which order
// and with what. The saved block has the
// layout of Morvane's; its WndFuncName selects what func_proc does:
//   "Negate"   negate every value in place, keeping frame and size
//   "Oversize" swap and claim a frame one pixel wider than the largest
//   "Stray"    point ycp_edit at memory that is not the host's
//   "Fail"     return FALSE
//   any other  nearest-neighbour resize to Width x Height on the host's
//              worker threads into ycp_temp, then swap the frames
// Like Morvane, func_update replaces a WndFuncParam outside 16 bits (by 2).
// Asked what it offers, it answers as Morvane would of its plug-in folder.
// FAKE_VARIANT 1 builds a record whose callbacks are all null, 2 one whose
// GetFilterTable returns null, 3 a library without GetFilterTable.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "abi/FilterConfig.h"
#include "abi/FilterOffer.h"
#include "abi/HostAbi.h"
#include "host/OfferAnswer.h"
#include "platform/Library.h"
#include "tests/support/TestLog.h"

namespace {

using test_log::Line;

test_log::TLoadLines LoadLog;

TFilterConfig Block = [] {
    TFilterConfig c = InitialFilterConfig;
    std::strcpy(c.WndFuncName, "Nearest");
    c.Width = 16;
    c.Height = 8;
    return c;
}();

bool Mode(const char *name) { return std::strncmp(Block.WndFuncName, name, 32) == 0; }

constexpr int kMaxThreads = 256;

// One frame's work for the host's worker threads.
struct TJob {
    const FILTER_PROC_INFO *info;
    int width, height;
    std::atomic<int> calls[kMaxThreads];
    std::atomic<int> finished{0};
    std::atomic<int> threadNum{-1};
    std::atomic<bool> wrongNum{false};
};

void MV_CDECL Worker(int id, int num, void *param1, void *param2) {
    TJob &job = *static_cast<TJob *>(param1);
    if (param2 != &Block || id < 0 || id >= kMaxThreads) return;
    ++job.calls[id];
    int expected = -1;
    if (!job.threadNum.compare_exchange_strong(expected, num) && expected != num)
        job.wrongNum = true;
    const FILTER_PROC_INFO &fi = *job.info;
    for (int y = id; y < job.height; y += num)
        for (int x = 0; x < job.width; ++x)
            fi.ycp_temp[y * fi.max_w + x] =
                fi.ycp_edit[(y * fi.h / job.height) * fi.max_w + x * fi.w / job.width];
    // Late finishers show whether the host waits for every thread.
    std::this_thread::sleep_for(std::chrono::milliseconds(id % 3));
    ++job.finished;
}

BOOL ResizeNearest(FILTER *fp, FILTER_PROC_INFO *fpip) {
    TJob job{};
    job.info = fpip;
    job.width = Block.Width;
    job.height = Block.Height;
    for (auto &c : job.calls) c = 0;
    fp->exfunc->exec_multi_thread_func(Worker, &job, &Block);
    const int n = job.threadNum;
    bool ok = n > 0 && n <= kMaxThreads && job.finished == n && !job.wrongNum;
    for (int i = 0; ok && i < kMaxThreads; ++i) ok = job.calls[i] == (i < n ? 1 : 0);
    Line("threads %d %s", n, ok ? "ok" : "bad");
    PIXEL_YC *swap = fpip->ycp_edit;
    fpip->ycp_edit = fpip->ycp_temp;
    fpip->ycp_temp = swap;
    fpip->w = job.width;
    fpip->h = job.height;
    return TRUE;
}

BOOL MV_CDECL Proc(FILTER *fp, FILTER_PROC_INFO *fpip) {
    const bool aligned = reinterpret_cast<uintptr_t>(fpip->ycp_edit) % 16 == 0 &&
                         reinterpret_cast<uintptr_t>(fpip->ycp_temp) % 16 == 0;
    Line("proc %dx%d stride %d height %d aligned %d", fpip->w, fpip->h, fpip->max_w, fpip->max_h,
         aligned ? 1 : 0);
    if (Mode("Fail")) return FALSE;
    if (Mode("Negate")) {
        for (int y = 0; y < fpip->h; ++y)
            for (int x = 0; x < fpip->w; ++x) {
                PIXEL_YC &p = fpip->ycp_edit[y * fpip->max_w + x];
                p = {int16_t(-p.y), int16_t(-p.cb), int16_t(-p.cr)};
            }
        return TRUE;
    }
    static PIXEL_YC stray[16];
    if (Mode("Stray")) fpip->ycp_edit = stray;
    if (Mode("Oversize")) {
        std::swap(fpip->ycp_edit, fpip->ycp_temp);
        fpip->w = fpip->max_w + 1;
    }
    if (Mode("Stray") || Mode("Oversize")) return TRUE;
    return ResizeNearest(fp, fpip);
}

BOOL MV_CDECL Init(FILTER *fp) {
    SYS_INFO si{};
    if (fp->exfunc->get_sys_info(nullptr, &si))
        Line("init %dx%d", si.max_w, si.max_h);
    else
        Line("init without system information");
    return TRUE;
}

BOOL MV_CDECL Exit(FILTER *) {
    Line("exit");
    return TRUE;
}

BOOL MV_CDECL Update(FILTER *, int status) {
    if (Block.WndFuncParam != int16_t(Block.WndFuncParam)) Block.WndFuncParam = 2;
    Line("update %d %.32s %dx%d %d", status, Block.WndFuncName, Block.Width, Block.Height,
         Block.WndFuncParam);
    return TRUE;
}

BOOL Offer(LPARAM lparam) {
    const TFilterPluginLists lists = LoadFilterPluginLists(platform::ModulePathOf(&Block));
    return AnswerOffer(lists, 0, 0, lparam);
}

BOOL MV_CDECL WndProc(HWND hwnd, UINT message, WPARAM, LPARAM lparam, void *, FILTER *fp) {
    if (message == WM_FILTER_OFFER) return Offer(lparam);
    Line("message %#x %s", message, hwnd ? "window" : "no-window");
    const bool active = fp->exfunc->is_filter_active(fp);
    switch (message) {
    case WM_FILTER_INIT: return active ? 0x11 : 0x10;
    case WM_FILTER_CHANGE_ACTIVE: return active ? 0x21 : 0x20;
    case WM_FILTER_EXIT: return 0x30;
    default: return BOOL(lparam);
    }
}

char Name[] = "Fake filter";
char Information[] = "Fake filter for the stand-in host";

FILTER_DLL Record = [] {
    FILTER_DLL r{};
    r.x = 288;
    r.y = 116;
    r.name = Name;
    r.information = Information;
    if (FAKE_VARIANT == 0) {
        r.flag = FILTER_FLAG_EX_DATA | FILTER_FLAG_WINDOW_SIZE | FILTER_FLAG_EX_INFORMATION;
        r.func_proc = Proc;
        r.func_init = Init;
        r.func_exit = Exit;
        r.func_update = Update;
        r.func_WndProc = WndProc;
        r.ex_data_ptr = &Block;
        r.ex_data_size = int(sizeof Block);
    }
    return r;
}();

}  // namespace

#if FAKE_VARIANT != 3
MV_EXTERN_C MV_EXPORT FILTER_DLL *MV_STDCALL GetFilterTable() {
    Line("table");
    return FAKE_VARIANT == 2 ? nullptr : &Record;
}
#else
MV_EXTERN_C MV_EXPORT int FakeFilterNothing() { return 0; }
#endif
