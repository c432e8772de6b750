#include "host/HostFrame.h"

namespace {

// The host's multi-thread service as the driver's workers.
class THostWorkers final : public TWorkers {
public:
    explicit THostWorkers(FILTER *fp) : FFilter(fp) {}
    void RunOnAll(TWorkerFunc work, void *param) override {
        Job job{work, param};
        FFilter->exfunc->exec_multi_thread_func(&THostWorkers::ThreadProc, &job, nullptr);
    }

private:
    struct Job {
        TWorkerFunc work;
        void *param;
    };
    static void MV_CDECL ThreadProc(int thread_id, int thread_num, void *param1, void *) {
        try {
            const Job *job = static_cast<const Job *>(param1);
            job->work(thread_id, thread_num, job->param);
        } catch (...) {
            // Nothing may unwind into the host's thread.
        }
    }
    FILTER *FFilter;
};

}  // namespace

void ResizeHostFrame(TFilter &driver, FILTER *fp, FILTER_PROC_INFO *fpip, int32_t width,
                     int32_t height) noexcept {
    if (!fp || !fp->exfunc || !fp->exfunc->exec_multi_thread_func || !fpip) return;
    const int64_t pitch = int64_t{fpip->max_w} * int32_t(sizeof(PIXEL_YC));
    if (pitch > INT32_MAX) return;
    THostWorkers workers(fp);
    const TFramePixels pixels{fpip->ycp_edit, fpip->ycp_temp, int32_t(pitch), fpip->max_h};
    if (!driver.ResizeFrame({fpip->w, fpip->h}, {width, height}, pixels, workers)) return;
    // The kernel wrote the resized frame into the work frame, which thus
    // becomes the current frame.
    PIXEL_YC *resized = fpip->ycp_temp;
    fpip->ycp_temp = fpip->ycp_edit;
    fpip->ycp_edit = resized;
    fpip->w = width;
    fpip->h = height;
}
