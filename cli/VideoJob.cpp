#include "cli/VideoJob.h"

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "cli/OutputFile.h"
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

void ShowProgress(std::ostream &progress, int frames, std::chrono::steady_clock::time_point start) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char line[80];
    std::snprintf(line, sizeof line, "\rmorvane: %d frames, %.1f frames/s ", frames, seconds > 0 ? frames / seconds : 0.0);
    progress << line << std::flush;
}

}  // namespace

TResizeOutcome RunVideo(const std::string &filterPath, TToolOptions &o, const std::string &input,
                        const std::string &output, TJobSummary &job, std::ostream *progress) {
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
    job.InWidth = format.Width;
    job.InHeight = format.Height;
    int maxWidth, maxHeight;
    PlanFrames(o, name, format.Width, format.Height, maxWidth, maxHeight);
    TY4mFormat outFormat = format;
    outFormat.Width = o.Width;
    outFormat.Height = o.Height;

    // The first frame is read before the filter and the output exist: a
    // stream whose first frame is damaged leaves no file behind and takes
    // no frame buffers.
    TY4mFrame frame;
    bool more = reader.ReadFrame(frame);
    TResizeSession session(filterPath, o, maxWidth, maxHeight);
    TResizeOutcome outcome;
    outcome.Threads = session.Threads();
    outcome.AppliedParam = session.AppliedParam();
    TOutputFile out(output);
    out.Write(outFormat.Header());
    const auto start = std::chrono::steady_clock::now();
    while (more) {
        TFrameResult result = session.Process(ToYcImage(format, frame), outcome.Frames);
        outcome.AddTime(result.Seconds);
        out.Write(EncodeY4mFrame(outFormat, ToY4mFrame(format, result.Image)));
        out.Flush();  // a reader downstream gets each frame at once
        if (progress) ShowProgress(*progress, outcome.Frames, start);
        try {
            more = reader.ReadFrame(frame);
        } catch (const THostError &) {
            // What came before a damaged frame is good video; it is kept.
            if (progress) *progress << "\n";
            job.Frames = outcome.Frames;
            out.Commit();
            throw;
        }
    }
    if (progress) *progress << "\n";
    session.Finish();
    out.Commit();
    job.Frames = outcome.Frames;
    return outcome;
}
