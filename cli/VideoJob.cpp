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
    ~TInputFile() {
        if (Owned) std::fclose(File);
    }
};

// The frames a regular file holds, from where the reader stands after the
// header; 0 for a pipe.
int FramesInFile(std::FILE *file, const TY4mFormat &format) {
    struct stat info;
    const long header = std::ftell(file);
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || header < 0) return 0;
    return StreamFrameCount(info.st_size, header, int64_t(format.FrameBytes()));
}

}  // namespace

TResizeOutcome RunVideo(const std::string &filterPath, const TToolOptions &o,
                        const std::string &input, const std::string &output, TJobSummary &job,
                        std::ostream *progress) {
    TInputFile in;
    if (input == kStreamName) {
        in.File = stdin;
    } else {
        in.File = std::fopen(input.c_str(), "rb");
        if (!in.File) throw THostError(input + ": " + PathFault(errno));
        in.Owned = true;
    }
    const std::string name = input == kStreamName ? "standard input" : input;
    TY4mReader reader(in.File, name);
    const TY4mFormat &format = reader.Format();
    const int total = FramesInFile(in.File, format);
    job.InWidth = format.Width;
    job.InHeight = format.Height;
    const TFramePlan plan = PlanFrames(o, name, format.Width, format.Height);
    job.OutWidth = plan.Width;
    job.OutHeight = plan.Height;
    TY4mFormat outFormat = format;
    outFormat.Width = plan.Width;
    outFormat.Height = plan.Height;

    // The first frame is read before the filter and the output exist: a
    // stream whose first frame is damaged leaves no file behind and takes
    // no frame buffers.
    TY4mFrame frames[2];
    bool more = reader.ReadFrame(frames[0]);
    TResizeSession session(filterPath, o, plan);
    TResizeOutcome outcome;
    outcome.Threads = session.Threads();
    outcome.AppliedParam = session.AppliedParam();
    TOutputFile out(output);
    out.Write(outFormat.Header());

    // Two buffers each way, kept for the whole stream: while the workers
    // convert and filter one frame, the next is read and the last written.
    const std::size_t line = std::strlen(kY4mFrameLine);
    std::vector<uint8_t> encoded[2];
    for (std::vector<uint8_t> &bytes : encoded) {
        bytes.resize(line + outFormat.FrameBytes());
        std::memcpy(bytes.data(), kY4mFrameLine, line);
    }
    TStandinHost &host = session.Host();
    THostThreadPool &workers = host.Workers();
    PIXEL_YC *const hostFrame = host.InputFrame();
    const int stride = host.Stride();
    // Declared after what they use, so that leaving early waits for them.
    std::future<bool> reading;
    std::future<void> writing;
    // A frame is written while the filter works on the next: the copies
    // into and out of the system then share the cores with the filter's
    // arithmetic rather than with the conversions, which wait on memory as
    // they do.
    std::vector<uint8_t> *unwritten = nullptr;
    const auto startWriting = [&] {
        if (writing.valid()) writing.get();
        if (!unwritten) return;
        writing = std::async(std::launch::async, [&out, bytes = unwritten] {
            out.Write(bytes->data(), bytes->size());
            out.Flush();  // a reader downstream gets each frame at once
        });
        unwritten = nullptr;
    };
    const auto finishWriting = [&] {
        startWriting();
        if (writing.valid()) writing.get();
    };
    TProgress shown(progress, total, "frames");
    const auto start = std::chrono::steady_clock::now();
    for (int current = 0; more; current ^= 1) {
        const TY4mFrame &frame = frames[current];
        TY4mFrame &next = frames[current ^ 1];
        workers.ForBands(format.Height, [&](int first, int last) {
            ToHostRows(format, frame.Bytes.data(), hostFrame, stride, first, last);
        });
        reading =
            std::async(std::launch::async, [&reader, &next] { return reader.ReadFrame(next); });
        startWriting();
        const TFrameView view = session.ProcessInput(format.Width, format.Height, outcome.Frames);
        outcome.AddTime(view.Seconds);
        std::vector<uint8_t> &bytes = encoded[current];
        workers.ForBands(StreamBands(outFormat), [&](int first, int last) {
            ToStreamRows(outFormat, view.Pixels, stride, bytes.data() + line, first, last);
        });
        unwritten = &bytes;
        shown.Show(outcome.Frames);
        try {
            more = reading.get();
        } catch (const THostError &) {
            // What came before a damaged frame is good video; it is kept.
            finishWriting();
            shown.End();
            job.Frames = outcome.Frames;
            out.Commit();
            throw;
        }
    }
    finishWriting();
    outcome.StreamSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    shown.End();
    session.Finish();
    out.Commit();
    job.Frames = outcome.Frames;
    return outcome;
}
