#include "cli/FrameFormat.h"

std::unique_ptr<TFrameSource> OpenSource(const std::string &path, TFileKind kind,
                                         const TToolOptions &options, std::ostream &warnings) {
    if (kind == TFileKind::Stream) return OpenStreamSource(path);
    return OpenPictureSource(path, kind, options, warnings);
}

std::unique_ptr<TFrameSink> MakeSink(const std::string &path, TFileKind kind,
                                     const TFrameFormat &format, int width, int height,
                                     const TToolOptions &options, std::ostream &warnings) {
    if (kind == TFileKind::Stream) return MakeStreamSink(path, *format.Stream, width, height);
    return MakePictureSink(path, kind, format, width, height, options, warnings);
}
