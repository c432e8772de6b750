#include "cli/VideoJob.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <future>
#include <vector>

#include "cli/OutputFile.h"
#include "cli/Progress.h"
#include "cli/Y4mConversion.h"
#include "cli/Y4mStream.h"

namespace {

struct TInputFile {
    std::FILE *File = nullptr;
    bool Owned = false;
    explicit TInputFile(const std::string &input) {
        if (input == kStreamName) {
            File = stdin;
            return;
        }
        File = std::fopen(input.c_str(), "rb");
        if (!File) throw THostError(input + ": " + PathFault(errno));
        Owned = true;
    }
    ~TInputFile() {
        if (Owned) std::fclose(File);
    }
    TInputFile(const TInputFile &) = delete;
    TInputFile &operator=(const TInputFile &) = delete;
};

// The frames a regular file holds, from where the reader stands after the
// header; 0 for a pipe.
int FramesInFile(std::FILE *file, const TY4mFormat &format) {
    struct stat info;
    const long header = std::ftell(file);
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || header < 0) return 0;
    return StreamFrameCount(info.st_size, header, int64_t(format.FrameBytes()));
}

// A stream's frames through the filter. Two buffers each way, kept for the
// whole stream: while the workers convert and filter one frame, the next is
// read and the last written.
class TVideoPump {
public:
    TVideoPump(TResizeSession &session, TY4mReader &reader, const TY4mFormat &outFormat,
               TOutputFile &out)
        : FSession(session),
          FReader(reader),
          FIn(reader.Format()),
          FOutFormat(outFormat),
          FOut(out),
          FHostFrame(session.Host().InputFrame()),
          FStride(session.Host().Stride()) {
        for (std::vector<uint8_t> &bytes : FEncoded) {
            bytes.resize(kLine + outFormat.FrameBytes());
            std::memcpy(bytes.data(), kY4mFrameLine, kLine);
        }
    }

    // From the frame in frames[0] (read already) to the end; a damaged frame
    // keeps those before it in the output and throws.
    void Run(TY4mFrame frames[2], TResizeOutcome &outcome, TProgress &shown) {
        bool more = true;
        for (int current = 0; more; current ^= 1) {
            Convert(frames[current], current ^ 1, frames, outcome);
            shown.Show(outcome.Frames);
            try {
                more = FReading.get();
            } catch (const THostError &) {
                FinishWriting();  // what came before a damaged frame is good video
                shown.End();
                FOut.Commit();
                throw;
            }
        }
        FinishWriting();
    }

private:
    // One frame in, the next read meanwhile, the last written while the
    // filter works.
    void Convert(const TY4mFrame &frame, int next, TY4mFrame frames[2], TResizeOutcome &outcome) {
        THostThreadPool &workers = FSession.Host().Workers();
        workers.ForBands(FIn.Height, [&](int first, int last) {
            ToHostRows(FIn, frame.Bytes.data(), FHostFrame, FStride, first, last);
        });
        FReading = std::async(std::launch::async,
                              [this, to = &frames[next]] { return FReader.ReadFrame(*to); });
        StartWriting();
        const TFrameView view = FSession.ProcessInput(FIn.Width, FIn.Height, outcome.Frames);
        outcome.AddTime(view.Seconds);
        std::vector<uint8_t> &bytes = FEncoded[next ^ 1];
        workers.ForBands(StreamBands(FOutFormat), [&](int first, int last) {
            ToStreamRows(FOutFormat, view.Pixels, FStride, bytes.data() + kLine, first, last);
        });
        FUnwritten = &bytes;
    }

    // The copies into and out of the system then share the cores with the
    // filter's arithmetic rather than with the conversions, which wait on
    // memory as they do.
    void StartWriting() {
        if (FWriting.valid()) FWriting.get();
        if (!FUnwritten) return;
        FWriting = std::async(std::launch::async, [this, bytes = FUnwritten] {
            FOut.Write(bytes->data(), bytes->size());
            FOut.Flush();  // a reader downstream gets each frame at once
        });
        FUnwritten = nullptr;
    }

    void FinishWriting() {
        StartWriting();
        if (FWriting.valid()) FWriting.get();
    }

    static inline const std::size_t kLine = std::strlen(kY4mFrameLine);
    TResizeSession &FSession;
    TY4mReader &FReader;
    const TY4mFormat &FIn, &FOutFormat;
    TOutputFile &FOut;
    PIXEL_YC *const FHostFrame;
    const int FStride;
    std::vector<uint8_t> FEncoded[2];
    std::vector<uint8_t> *FUnwritten = nullptr;
    // Last, so that leaving early waits for them before what they use goes.
    std::future<bool> FReading;
    std::future<void> FWriting;
};

}  // namespace

TResizeOutcome RunVideo(const std::string &filterPath, const TToolOptions &o,
                        const std::string &input, const std::string &output, TJobSummary &job,
                        std::ostream *progress) {
    TInputFile in(input);
    const std::string name = input == kStreamName ? "standard input" : input;
    TY4mReader reader(in.File, name);
    const TY4mFormat &format = reader.Format();
    const int total = FramesInFile(in.File, format);
    const TFramePlan plan = PlanFrames(o, name, format.Width, format.Height);
    job.SetSizes(format.Width, format.Height, plan);
    TY4mFormat outFormat = format;
    outFormat.Width = plan.Width;
    outFormat.Height = plan.Height;

    // The first frame is read before the filter and the output exist: a
    // stream whose first frame is damaged leaves no file behind and takes
    // no frame buffers.
    TY4mFrame frames[2];
    const bool any = reader.ReadFrame(frames[0]);
    TResizeSession session(filterPath, o, plan);
    TResizeOutcome outcome = OutcomeOf(session);
    TOutputFile out(output);
    out.Write(outFormat.Header());
    TProgress shown(progress, total, "frames");
    const auto start = std::chrono::steady_clock::now();
    try {
        if (any) TVideoPump(session, reader, outFormat, out).Run(frames, outcome, shown);
    } catch (const THostError &) {
        job.Frames = outcome.Frames;
        throw;
    }
    outcome.StreamSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    shown.End();
    session.Finish();
    out.Commit();
    job.Frames = outcome.Frames;
    return outcome;
}
