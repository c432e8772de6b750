// A stand-in for the host editor: it loads a filter plug-in file at run time
// and drives it through the plug-in's public interface only, as the editor
// does. Shared by the `morvane` tool and the tests.
//
// One host per process: the host's service functions (EXFUNC) carry no user
// pointer, so they reach the current host through a process-wide pointer.
// Constructing a second host while one lives throws THostError.
//
// Every call runs on the caller's thread (the editor's window thread); only
// the multi-thread service runs work on the pool's threads, and it returns
// once all of them are done. Every failure throws THostError with one line
// naming the plug-in file and the fault.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "standin/FrameBuffers.h"
#include "standin/HostError.h"
#include "standin/HostThreadPool.h"
#include "standin/HostWindow.h"
#include "standin/YcImage.h"
#include "abi/HostAbi.h"
#include "platform/Library.h"

// A frame as the host holds it after func_proc: valid until the next frame.
struct TFrameView {
    BOOL Result = FALSE;
    const PIXEL_YC *Pixels = nullptr;  // `Stride()` pixels a line
    int Width = 0, Height = 0;
    double Seconds = 0;     // time spent inside func_proc
    double CpuSeconds = 0;  // the whole process's processor time in it
};

// Where the editor's SDK leaves the order of calls open, the host may take
// either way; tests set this to drive the filter through both.
struct THostCallOrder {
    // func_update once a project's block is copied in. Nothing in the SDK
    // promises one before the next frame.
    bool UpdateOnRestore = true;
    // WM_FILTER_INIT right after func_init, as the editor sends it whether
    // or not it shows the filter window.
    bool InitOpensWindow = false;
};

struct TFrameResult {
    BOOL Result = FALSE;  // what func_proc returned
    TYcImage Image;       // the current frame afterwards, at its new size
    double Seconds = 0;   // time spent inside func_proc
    double CpuSeconds = 0;
};

class TStandinHost {
public:
    // Loads the plug-in at `pluginPath`, calls its GetFilterTable and copies
    // the registration record into the host's own FILTER. The largest frame
    // is `maxWidth` × `maxHeight`; `threadCount` < 1 means one worker per
    // processor (std::thread::hardware_concurrency).
    TStandinHost(const std::string &pluginPath, int maxWidth, int maxHeight, int threadCount = 0);
    // Finishes what the editor would at closing (WM_FILTER_EXIT when the
    // window is open, func_exit after a func_init), then unloads.
    ~TStandinHost();
    TStandinHost(const TStandinHost &) = delete;
    TStandinHost &operator=(const TStandinHost &) = delete;

    const std::string &PluginPath() const { return FPath; }
    // The registration record's name and information ("" when null) and flags.
    std::string FilterName() const;
    std::string Information() const;
    int Flags() const { return FFilter.flag; }
    int ThreadCount() const { return FPool.ThreadCount(); }
    int MaxWidth() const { return FMaxWidth; }  // as reported by get_sys_info
    int MaxHeight() const { return FMaxHeight; }
    int Stride() const { return FFrames.Stride(); }  // FILTER_PROC_INFO max_w

    // The switch that is_filter_active reports; on from the start.
    void SetActive(bool active) { FActive = active; }
    bool Active() const { return FActive; }

    void SetCallOrder(const THostCallOrder &order) { FCallOrder = order; }

    // func_init (then WM_FILTER_INIT when the call order says so); func_init's
    // result, TRUE when the record has none.
    BOOL Init();
    // Creates the settings window and sends WM_FILTER_INIT with it.
    BOOL OpenWindow();
    // Sets the switch and sends WM_FILTER_CHANGE_ACTIVE.
    BOOL ChangeActive(bool active);
    // Sends WM_FILTER_EXIT, handles what the plug-in queued, drops the window.
    BOOL CloseWindow();
    // Any message to func_WndProc with the current window handle; FALSE when
    // the record has no window procedure.
    BOOL SendFilterMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
    HWND Window() const { return FWindow ? FWindow->Handle() : nullptr; }

    // Loading a project: copies the saved block (exactly ex_data_size bytes)
    // into ex_data_ptr, then calls func_update unless the call order leaves
    // it out. Returns func_update's result (TRUE when not called).
    BOOL RestoreProject(const void *block, std::size_t size);
    // Saving a project: the plug-in's block as it stands.
    std::vector<uint8_t> SaveProject() const;

    // Runs one frame through func_proc. The frame must fit the largest frame.
    TFrameResult ProcessFrame(const TYcImage &frame, int frameNumber = 0);
    // The same without copies, for a caller that writes the frame's rows
    // straight into InputFrame() (`Stride()` pixels a line) and reads the
    // result where the view points.
    PIXEL_YC *InputFrame() const { return FFrames.First(); }
    TFrameView ProcessInput(int width, int height, int frameNumber);
    // The worker threads, for a caller's own work in bands between frames.
    THostThreadPool &Workers() { return FPool; }

    // func_exit, once; TRUE when the record has none.
    BOOL Exit();

    // The live record the plug-in sees, for tests that call the services.
    FILTER &Filter() { return FFilter; }
    // How often the plug-in called exec_multi_thread_func.
    int ServiceCalls() const { return FServiceCalls; }

private:
    static BOOL MV_CDECL IsFilterActive(FILTER *fp);
    static BOOL MV_CDECL GetSysInfo(void *editp, SYS_INFO *sip);
    static BOOL MV_CDECL ExecMultiThreadFunc(MULTI_THREAD_FUNC func, void *param1, void *param2);

    void LoadRecord();
    [[noreturn]] void Fail(const std::string &fault) const;
    void CheckFrameSize(int width, int height) const;

    const std::string FPath;
    const int FMaxWidth;
    const int FMaxHeight;
    THostThreadPool FPool;
    TFrameBuffers FFrames;
    platform::LibraryHandle FLibrary = nullptr;
    FILTER FFilter{};
    EXFUNC FExFunc{};
    std::unique_ptr<THostWindow> FWindow;
    THostCallOrder FCallOrder;
    bool FActive = true;
    bool FInitialised = false;
    std::atomic<int> FServiceCalls{0};
};
