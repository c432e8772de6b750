#include "cli/FramePump.h"

#include <chrono>
#include <future>

#include "cli/Progress.h"

namespace {

// Two frames each way, kept for the whole run: while the workers convert
// and filter one frame, the next is read and the last written.
class TPump {
public:
    TPump(TResizeSession &session, TFrameSource &source, TFrameSink &sink)
        : FSession(session),
          FSource(source),
          FSink(sink),
          FHostFrame(session.Host().InputFrame()),
          FStride(session.Host().Stride()) {}

    // From the frame in slot 0 (read already) to the end; a damaged frame
    // keeps those before it in the output and throws.
    void Run(TResizeOutcome &outcome, TProgress &shown) {
        bool more = true;
        for (int current = 0; more; current ^= 1) {
            Convert(current, outcome);
            shown.Show(outcome.Frames);
            try {
                more = FReading.get();
            } catch (const THostError &) {
                FinishWriting();  // what came before a damaged frame is good video
                shown.End();
                FSink.Commit();
                throw;
            }
        }
        FinishWriting();
    }

private:
    // One frame in, the next read meanwhile, the last written while the
    // filter works.
    void Convert(int current, TResizeOutcome &outcome) {
        THostThreadPool &workers = FSession.Host().Workers();
        const TFrameFormat &in = FSource.Format();
        workers.ForBands(in.Height, [&](int first, int last) {
            FSource.ToHost(current, FHostFrame, FStride, first, last);
        });
        FReading = std::async(std::launch::async,
                              [this, next = current ^ 1] { return FSource.Read(next); });
        StartWriting();
        const TFrameView view = FSession.ProcessInput(in.Width, in.Height, outcome.Frames);
        outcome.AddTime(view.Seconds);
        workers.ForBands(FSink.Bands(), [&](int first, int last) {
            FSink.FromHost(current, view.Pixels, FStride, first, last);
        });
        FUnwritten = current;
    }

    // The copies into and out of the system then share the cores with the
    // filter's arithmetic rather than with the conversions, which wait on
    // memory as they do.
    void StartWriting() {
        if (FWriting.valid()) FWriting.get();
        if (FUnwritten < 0) return;
        FWriting = std::async(std::launch::async, [this, slot = FUnwritten] { FSink.Write(slot); });
        FUnwritten = -1;
    }

    void FinishWriting() {
        StartWriting();
        if (FWriting.valid()) FWriting.get();
    }

    TResizeSession &FSession;
    TFrameSource &FSource;
    TFrameSink &FSink;
    PIXEL_YC *const FHostFrame;
    const int FStride;
    int FUnwritten = -1;  // the slot converted and not yet written
    // Last, so that leaving early waits for them before what they use goes.
    std::future<bool> FReading;
    std::future<void> FWriting;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TResizeOutcome PumpFrames(const std::string &filterPath, const TToolOptions &o,
                          TFrameSource &source, const TSinkMaker &makeSink, TJobSummary &job,
                          std::ostream *progress) {
    const TFrameFormat &in = source.Format();
    const TFramePlan plan = PlanFrames(o, in.Name, in.Width, in.Height);
    job.SetSizes(in.Width, in.Height, plan);
    const std::unique_ptr<TFrameSink> sink = makeSink(plan.Width, plan.Height);
    // A picture's report counts no frames and no time beside the filter.
    const bool stream = in.Stream.has_value();
    // The first frame is read before the filter and the output exist: a
    // stream whose first frame is damaged leaves no file behind and takes
    // no frame buffers.
    const bool any = source.Read(0);
    TResizeSession session(filterPath, o, plan);
    TResizeOutcome outcome = OutcomeOf(session);
    sink->Open();
    TProgress shown(progress, source.FrameCount(), "frames");
    const auto start = std::chrono::steady_clock::now();
    try {
        if (any) TPump(session, source, *sink).Run(outcome, shown);
    } catch (const THostError &) {
        job.Frames = stream ? outcome.Frames : 0;
        throw;
    }
    if (stream) outcome.StreamSeconds = SecondsSince(start);
    shown.End();
    session.Finish();
    sink->Commit();
    job.Frames = stream ? outcome.Frames : 0;
    return outcome;
}
