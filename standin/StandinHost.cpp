#include "standin/StandinHost.h"

#include "standin/CpuClock.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {

TStandinHost *CurrentHost = nullptr;  // see the header: one host per process

// func_update's status when a whole project was loaded (the SDK's
// FILTER_UPDATE_STATUS_ALL).
constexpr int kUpdateStatusAll = 0;

using GetFilterTableFunc = FILTER_DLL *(MV_STDCALL *)();

// The filter window's outer size: what the record asks for, or a plain
// 320 × 240 when it asks for none.
constexpr int kDefaultWindowWidth = 320;
constexpr int kDefaultWindowHeight = 240;
bool AsksForSize(const FILTER &f) {
    return (f.flag & FILTER_FLAG_WINDOW_SIZE) && f.x > 0 && f.y > 0;
}
int WindowWidth(const FILTER &f) { return AsksForSize(f) ? f.x : kDefaultWindowWidth; }
int WindowHeight(const FILTER &f) { return AsksForSize(f) ? f.y : kDefaultWindowHeight; }

int DefaultThreads(int requested) {
    if (requested > 0) return requested;
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? int(n) : 1;
}

// LoadLibrary and dlopen both search elsewhere for names without a folder.
std::string AbsolutePath(const std::string &path) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(path, ec);
    return ec ? path : p.make_preferred().string();
}

}  // namespace

TStandinHost::TStandinHost(const std::string &pluginPath, int maxWidth, int maxHeight,
                           int threadCount)
    : FPath(pluginPath),
      FMaxWidth(maxWidth),
      FMaxHeight(maxHeight),
      FPool(DefaultThreads(threadCount)),
      FFrames(maxWidth > 0 ? maxWidth : 1, maxHeight > 0 ? maxHeight : 1) {
    if (CurrentHost) throw THostError(FPath + ": another stand-in host is running in this process");
    if (maxWidth < 1 || maxHeight < 1) Fail("the host's largest frame must be at least 1x1");
    LoadRecord();
    FExFunc.is_filter_active = &TStandinHost::IsFilterActive;
    FExFunc.get_sys_info = &TStandinHost::GetSysInfo;
    FExFunc.exec_multi_thread_func = &TStandinHost::ExecMultiThreadFunc;
    FFilter.exfunc = &FExFunc;
    FFilter.dll_hinst = static_cast<HINSTANCE>(FLibrary);
    CurrentHost = this;
}

TStandinHost::~TStandinHost() {
    if (FWindow) CloseWindow();
    if (FInitialised) Exit();
    platform::CloseLibrary(FLibrary);
    CurrentHost = nullptr;
}

void TStandinHost::LoadRecord() {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(FPath, ec)) Fail("no such file");
    const platform::TLibraryFileFault fault = platform::LibraryFileFault(AbsolutePath(FPath));
    if (fault.Kind != platform::TLibraryFaultKind::None) Fail(fault.Text);
    FLibrary = platform::OpenLibrary(AbsolutePath(FPath));
    if (!FLibrary) Fail(platform::NotALibraryText);
    auto getTable =
        reinterpret_cast<GetFilterTableFunc>(platform::FindSymbol(FLibrary, "GetFilterTable"));
    const FILTER_DLL *record = getTable ? getTable() : nullptr;
    if (!record) {
        platform::CloseLibrary(FLibrary);
        FLibrary = nullptr;
        Fail(getTable ? "GetFilterTable returned no record" : "no export GetFilterTable");
    }
    FFilter = *record;
}

void TStandinHost::Fail(const std::string &fault) const { throw THostError(FPath + ": " + fault); }

std::string TStandinHost::FilterName() const { return FFilter.name ? FFilter.name : ""; }

std::string TStandinHost::Information() const {
    return FFilter.information ? FFilter.information : "";
}

BOOL TStandinHost::Init() {
    FInitialised = true;
    const BOOL result = FFilter.func_init ? FFilter.func_init(&FFilter) : TRUE;
    if (FCallOrder.InitOpensWindow) OpenWindow();
    return result;
}

BOOL TStandinHost::Exit() {
    if (!FInitialised) return TRUE;
    FInitialised = false;
    return FFilter.func_exit ? FFilter.func_exit(&FFilter) : TRUE;
}

BOOL TStandinHost::OpenWindow() {
    if (!FWindow) {
        try {
            FWindow = std::make_unique<THostWindow>(WindowWidth(FFilter), WindowHeight(FFilter));
        } catch (const THostError &e) {
            Fail(e.what());
        }
        FFilter.hwnd = FWindow->Handle();
    }
    return SendFilterMessage(WM_FILTER_INIT);
}

BOOL TStandinHost::ChangeActive(bool active) {
    FActive = active;
    return SendFilterMessage(WM_FILTER_CHANGE_ACTIVE);
}

BOOL TStandinHost::CloseWindow() {
    const BOOL result = SendFilterMessage(WM_FILTER_EXIT);
    THostWindow::PumpMessages();
    FWindow.reset();
    FFilter.hwnd = nullptr;
    return result;
}

BOOL TStandinHost::SendFilterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (!FFilter.func_WndProc) return FALSE;
    return FFilter.func_WndProc(Window(), message, wparam, lparam, nullptr, &FFilter);
}

BOOL TStandinHost::RestoreProject(const void *block, std::size_t size) {
    if (!(FFilter.flag & FILTER_FLAG_EX_DATA) || !FFilter.ex_data_ptr || FFilter.ex_data_size <= 0)
        Fail("the plug-in keeps no project data");
    if (size != std::size_t(FFilter.ex_data_size))
        Fail("the plug-in keeps " + std::to_string(FFilter.ex_data_size) +
             " bytes of project data, not " + std::to_string(size));
    std::memcpy(FFilter.ex_data_ptr, block, size);
    if (!FCallOrder.UpdateOnRestore || !FFilter.func_update) return TRUE;
    return FFilter.func_update(&FFilter, kUpdateStatusAll);
}

std::vector<uint8_t> TStandinHost::SaveProject() const {
    if (!(FFilter.flag & FILTER_FLAG_EX_DATA) || !FFilter.ex_data_ptr || FFilter.ex_data_size <= 0)
        return {};
    const auto *bytes = static_cast<const uint8_t *>(FFilter.ex_data_ptr);
    return std::vector<uint8_t>(bytes, bytes + FFilter.ex_data_size);
}

void TStandinHost::CheckFrameSize(int width, int height) const {
    if (width < 1 || height < 1 || width > FMaxWidth || height > FMaxHeight)
        Fail("frame size " + std::to_string(width) + "x" + std::to_string(height) +
             " is outside the host's largest frame " + std::to_string(FMaxWidth) + "x" +
             std::to_string(FMaxHeight));
}

TFrameResult TStandinHost::ProcessFrame(const TYcImage &frame, int frameNumber) {
    CheckFrameSize(frame.Width, frame.Height);
    if (!FFilter.func_proc) return TFrameResult{TRUE, frame, 0};
    FFrames.Load(frame);
    const TFrameView view = ProcessInput(frame.Width, frame.Height, frameNumber);
    return TFrameResult{view.Result, FFrames.Read(view.Pixels, view.Width, view.Height),
                        view.Seconds, view.CpuSeconds};
}

TFrameView TStandinHost::ProcessInput(int width, int height, int frameNumber) {
    CheckFrameSize(width, height);
    TFrameView view{TRUE, FFrames.First(), width, height, 0};
    if (!FFilter.func_proc) return view;
    FILTER_PROC_INFO info{};
    info.ycp_edit = FFrames.First();
    info.ycp_temp = FFrames.Second();
    info.w = info.org_w = width;
    info.h = info.org_h = height;
    info.max_w = FFrames.Stride();
    info.max_h = FFrames.MaxHeight();
    info.frame = frameNumber;
    info.frame_n = frameNumber + 1;
    info.yc_size = int(sizeof(PIXEL_YC));
    info.line_size = info.max_w * info.yc_size;

    const double cpuStart = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    view.Result = FFilter.func_proc(&FFilter, &info);
    view.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    view.CpuSeconds = ProcessCpuSeconds() - cpuStart;
    if (!FFrames.Owns(info.ycp_edit))
        Fail("func_proc left ycp_edit pointing outside the host's frames");
    CheckFrameSize(info.w, info.h);
    view.Pixels = info.ycp_edit;
    view.Width = info.w;
    view.Height = info.h;
    return view;
}

BOOL MV_CDECL TStandinHost::IsFilterActive(FILTER *) {
    return CurrentHost && CurrentHost->FActive ? TRUE : FALSE;
}

BOOL MV_CDECL TStandinHost::GetSysInfo(void *, SYS_INFO *sip) {
    if (!CurrentHost || !sip) return FALSE;
    static char info[] = "Morvane stand-in host";
    *sip = SYS_INFO{};
    sip->info = info;
    sip->filter_n = 1;
    sip->min_w = 1;
    sip->min_h = 1;
    sip->max_w = CurrentHost->FMaxWidth;
    sip->max_h = CurrentHost->FMaxHeight;
    sip->vram_w = CurrentHost->FFrames.Stride();
    sip->vram_h = CurrentHost->FMaxHeight;
    sip->vram_yc_size = int(sizeof(PIXEL_YC));
    sip->vram_line_size = sip->vram_w * sip->vram_yc_size;
    return TRUE;
}

BOOL MV_CDECL TStandinHost::ExecMultiThreadFunc(MULTI_THREAD_FUNC func, void *param1,
                                                void *param2) {
    if (!CurrentHost || !func) return FALSE;
    ++CurrentHost->FServiceCalls;
    return CurrentHost->FPool.Run(func, param1, param2);
}
