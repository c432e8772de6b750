#include "cli/PictureJob.h"

#include "cli/YcConversion.h"

namespace {

void ToHostFrame(const TPicture &picture, TStandinHost &host) {
    PIXEL_YC *const frame = host.InputFrame();
    const int stride = host.Stride(), channels = picture.Channels;
    const double scale = 255.0 / picture.MaxValue();
    const std::size_t line = std::size_t(picture.Width) * channels;
    host.Workers().ForBands(picture.Height, [&](int first, int last) {
        for (int y = first; y < last; ++y)
            SamplesToYc(picture.Samples.data() + y * line, channels, scale, picture.Width,
                        frame + std::size_t(y) * stride);
    });
}

void FromHostFrame(const TFrameView &view, int stride, THostThreadPool &workers, TPicture &out) {
    const double scale = out.MaxValue() / 255.0;
    const std::size_t line = std::size_t(out.Width) * out.Channels;
    workers.ForBands(out.Height, [&](int first, int last) {
        for (int y = first; y < last; ++y)
            YcToSamples(view.Pixels + std::size_t(y) * stride, out.Width, out.Channels, scale,
                        out.MaxValue(), out.Samples.data() + y * line);
    });
}

}  // namespace

TResizeOutcome RunPicture(const std::string &filterPath, const TToolOptions &options,
                          const TFramePlan &plan, const TPicture &source, TPicture &out) {
    TResizeSession session(filterPath, options, plan);
    TResizeOutcome outcome = OutcomeOf(session);
    TStandinHost &host = session.Host();
    for (int frame = 0; frame < options.Frames; ++frame) {
        // The filter may leave its result in either of the host's frames:
        // each pass starts from the picture again.
        ToHostFrame(source, host);
        const TFrameView view = session.ProcessInput(source.Width, source.Height, frame);
        outcome.AddTime(view.Seconds);
        if (frame + 1 == options.Frames) FromHostFrame(view, host.Stride(), host.Workers(), out);
    }
    session.Finish();
    return outcome;
}
