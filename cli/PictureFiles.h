// The tool's file kinds, told by the name, and pictures read and written by
// kind.
#pragma once
#include <ostream>
#include <string>

#include "cli/Picture.h"

enum class TFileKind { Builtin, Png, Jpeg, Ppm, Stream, Unknown };

// "-" and ".y4m" are streams, ".jpg" and ".jpeg" JPEG; extensions compare
// without case.
TFileKind KindOf(const std::string &name);
bool IsPicture(TFileKind kind);

// Throws THostError "<path>: <fault>" where `path` cannot be read as a file.
void CheckPictureFile(const std::string &path);
// Throws THostError "<path>: <fault>"; warnings are one line each.
TPicture ReadPicture(const std::string &path, TFileKind kind, int patternWidth, int patternHeight,
                     std::ostream &warnings);
// All or nothing, through WriteFileAtomically; `jpegQuality` 1..100. A
// colour profile the file cannot hold is one line on `warnings`.
void WritePicture(const std::string &path, TFileKind kind, const TPicture &picture, int jpegQuality,
                  std::ostream &warnings);
