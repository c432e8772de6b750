#include "cli/PictureFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <filesystem>

#include "cli/CommandLine.h"
#include "standin/HostError.h"
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
    if (ext == ".ppm") return TFileKind::Ppm;
    if (ext == ".y4m") return TFileKind::Stream;
    return TFileKind::Unknown;
}

bool IsPicture(TFileKind kind) {
    return kind == TFileKind::Png || kind == TFileKind::Ppm || kind == TFileKind::Builtin;
}

TPicture ReadPicture(const std::string &path, TFileKind kind, int patternWidth, int patternHeight,
                     std::ostream &warnings) {
    if (kind == TFileKind::Builtin)
        return FromRgbImage(MakeTestPattern(patternWidth, patternHeight));
    struct stat info;
    if (stat(path.c_str(), &info) != 0) throw THostError(path + ": " + PathFault(errno));
    if (S_ISDIR(info.st_mode)) throw THostError(path + ": is a folder");
    if (kind == TFileKind::Png) return ReadPng(path, warnings);
    return FromRgbImage(ReadPpm(path));
}

void WritePicture(const std::string &path, TFileKind kind, const TPicture &picture) {
    WriteFileAtomically(
        path, kind == TFileKind::Png ? EncodePng(picture) : EncodePpm(ToRgbImage(picture)));
}
