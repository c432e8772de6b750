#include "cli/PictureFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "cli/CommandLine.h"
#include "standin/HostError.h"
#include "cli/JpegFile.h"
#include "cli/PngFile.h"
#include "cli/PpmFile.h"
#include "cli/OutputFile.h"
#include "cli/TestPattern.h"

TFileKind KindOf(const std::string &name) {
    if (name == kBuiltinInput) return TFileKind::Builtin;
    if (name == kStreamName) return TFileKind::Stream;
    std::string ext = std::filesystem::path(name).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".png") return TFileKind::Png;
    if (ext == ".jpg" || ext == ".jpeg") return TFileKind::Jpeg;
    if (ext == ".ppm") return TFileKind::Ppm;
    if (ext == ".y4m") return TFileKind::Stream;
    return TFileKind::Unknown;
}

bool IsPicture(TFileKind kind) {
    return kind == TFileKind::Png || kind == TFileKind::Jpeg || kind == TFileKind::Ppm ||
           kind == TFileKind::Builtin;
}

namespace {

TPicture ReadJpeg(const std::string &path, std::ostream &warnings) {
    TJpegReader reader(path, kMaxFrameWidth, kMaxFrameHeight, warnings);
    TPicture picture(reader.Width(), reader.Height(), reader.Components(), 8);
    reader.ReadRows(picture.Bytes.data(), picture.Height);
    reader.Finish();
    picture.IccProfile = reader.IccProfile();
    return picture;
}

// JPEG holds 8 bits a sample.
std::string EncodeJpeg(const TPicture &picture, int quality) {
    if (picture.Depth != 8) throw std::logic_error("JPEG holds 8-bit samples only");
    std::string out;
    TJpegWriter writer(picture.Width, picture.Height, picture.Channels, quality, picture.IccProfile,
                       [&](const uint8_t *bytes, std::size_t size) {
                           out.append(reinterpret_cast<const char *>(bytes), size);
                       });
    writer.WriteRows(picture.Bytes.data(), picture.Height);
    writer.Finish();
    return out;
}

}  // namespace

void CheckPictureFile(const std::string &path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) throw THostError(path + ": " + PathFault(errno));
    if (S_ISDIR(info.st_mode)) throw THostError(path + ": is a folder");
}

TPicture ReadPicture(const std::string &path, TFileKind kind, int patternWidth, int patternHeight,
                     std::ostream &warnings) {
    if (kind == TFileKind::Builtin) return MakeTestPattern(patternWidth, patternHeight);
    CheckPictureFile(path);
    if (kind == TFileKind::Png) return ReadPng(path, warnings);
    if (kind == TFileKind::Jpeg) return ReadJpeg(path, warnings);
    return ReadPpm(path);
}

void WritePicture(const std::string &path, TFileKind kind, const TPicture &picture, int jpegQuality,
                  std::ostream &warnings) {
    // The samples as they are, without a copy.
    if (kind == TFileKind::Ppm) return WritePpm(path, picture);
    std::string bytes, dropped;
    // The encoders' faults name the format; the message names the file.
    try {
        bytes = kind == TFileKind::Png ? EncodePng(picture, &dropped)
                                       : EncodeJpeg(picture, jpegQuality);
    } catch (const THostError &e) {
        throw THostError(path + ": " + e.what());
    }
    WriteFileAtomically(path, bytes);
    if (!dropped.empty())
        warnings << "morvane: " << path << ": warning: the colour profile is left out (" << dropped
                 << ")\n";
}
