#include "cli/PngFile.h"

#include "standin/HostError.h"
#include "cli/TargetSize.h"
#include "platform/SizeText.h"

#ifndef MORVANE_HAVE_PNG

bool IsPngAvailable() { return false; }

TPicture ReadPng(const std::string &path, std::ostream &) {
    throw THostError(path + ": PNG is not available in this build of the tool");
}

std::string EncodePng(const TPicture &, std::string *) {
    throw THostError("PNG is not available in this build of the tool");
}

struct TPngWriter::TState {};
TPngWriter::TPngWriter(int, int, int, int, const std::string &, TSink) {
    throw THostError("PNG is not available in this build of the tool");
}
TPngWriter::~TPngWriter() = default;
void TPngWriter::WriteRows(const uint8_t *, int) {}
void TPngWriter::Finish() {}
const std::string &TPngWriter::DroppedProfile() const {
    static const std::string none;
    return none;
}

#else

#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

namespace {

// libpng reports faults through longjmp; the message is kept for the throw
// that follows in C++ code.
struct TPngFault {
    char Text[256] = "";
    char Warning[256] = "";  // the last one
};

extern "C" void OnPngError(png_structp png, png_const_charp message) {
    auto *fault = static_cast<TPngFault *>(png_get_error_ptr(png));
    std::snprintf(fault->Text, sizeof fault->Text, "%s", message);
    png_longjmp(png, 1);
}

extern "C" void OnPngWarning(png_structp png, png_const_charp message) {
    auto *fault = static_cast<TPngFault *>(png_get_error_ptr(png));
    std::snprintf(fault->Warning, sizeof fault->Warning, "%s", message);
}

struct TPngRead {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    ~TPngRead() { png_destroy_read_struct(&Png, &Info, nullptr); }
};

// No C++ object is created or destroyed between setjmp and a longjmp.
// The colour profile's bytes stay libpng's until the read struct goes.
struct TPngProfile {
    png_bytep Bytes = nullptr;
    png_uint_32 Size = 0;
};

bool ReadInto(std::FILE *file, TPngRead &r, TPicture &picture, bool &hadAlpha, int &passes,
              TPngProfile &profile) {
    if (setjmp(png_jmpbuf(r.Png))) return false;
    png_init_io(r.Png, file);
    png_read_info(r.Png, r.Info);
    png_charp name;
    int compression;
    png_get_iCCP(r.Png, r.Info, &name, &compression, &profile.Bytes, &profile.Size);
    const png_byte colour = png_get_color_type(r.Png, r.Info);
    const png_byte depth = png_get_bit_depth(r.Png, r.Info);
    hadAlpha = (colour & PNG_COLOR_MASK_ALPHA) || png_get_valid(r.Png, r.Info, PNG_INFO_tRNS);
    if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(r.Png);
    if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(r.Png);
    if (png_get_valid(r.Png, r.Info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(r.Png);
    png_set_strip_alpha(r.Png);
    if (depth == 16) png_set_swap(r.Png);  // samples in the machine's order
    passes = png_set_interlace_handling(r.Png);
    png_read_update_info(r.Png, r.Info);
    picture.Width = int(png_get_image_width(r.Png, r.Info));
    picture.Height = int(png_get_image_height(r.Png, r.Info));
    picture.Channels = png_get_channels(r.Png, r.Info);
    picture.Depth = png_get_bit_depth(r.Png, r.Info);
    return true;
}

// The rows straight into the picture, whose memory grows with the rows that
// arrive, so that a short file claiming a huge picture costs no more than
// it holds, in address space too; an interlaced one's passes each touch
// every row, so it is held whole from the first.
bool ReadRows(TPngRead &r, int passes, TPicture &picture) {
    const std::size_t rowBytes = picture.RowBytes(), total = rowBytes * std::size_t(picture.Height);
    if (passes > 1) picture.Bytes.resize(total);
    if (setjmp(png_jmpbuf(r.Png))) return false;
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < picture.Height; ++y) {
            const std::size_t end = (std::size_t(y) + 1) * rowBytes;
            if (end > picture.Bytes.size())
                picture.Bytes.resize(std::min(total, std::max(end, 2 * picture.Bytes.size())));
            png_read_row(r.Png, picture.Row(y), nullptr);
        }
    png_read_end(r.Png, nullptr);
    return true;
}

}  // namespace

bool IsPngAvailable() { return true; }

TPicture ReadPng(const std::string &path, std::ostream &warnings) {
    const auto fail = [&](const std::string &fault) { throw THostError(path + ": " + fault); };
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) fail("cannot be opened");
    struct TClose {
        std::FILE *File;
        ~TClose() { std::fclose(File); }
    } closer{file};
    unsigned char signature[8];
    if (std::fread(signature, 1, 8, file) != 8 || png_sig_cmp(signature, 0, 8) != 0)
        fail("not a PNG file");
    TPngFault fault;
    TPngRead r;
    r.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &fault, OnPngError, OnPngWarning);
    if (!r.Png || !(r.Info = png_create_info_struct(r.Png))) fail("out of memory");
    png_set_sig_bytes(r.Png, 8);
    TPicture picture;
    bool hadAlpha = false;
    int passes = 1;
    TPngProfile profile;
    if (!ReadInto(file, r, picture, hadAlpha, passes, profile))
        fail(std::string("damaged PNG (") + fault.Text + ")");
    if (profile.Bytes)
        picture.IccProfile.assign(reinterpret_cast<const char *>(profile.Bytes), profile.Size);
    // The claimed size is refused before any sample memory is taken.
    const std::string beyond =
        LargestFrameFault("the picture's size", picture.Width, picture.Height);
    if (!beyond.empty()) fail(beyond);
    if ((picture.Channels != 1 && picture.Channels != 3) ||
        (picture.Depth != 8 && picture.Depth != 16))
        fail("unsupported PNG layout");
    const std::size_t rowBytes = picture.RowBytes();
    // An interlaced picture is held whole from its first pass; deflate packs
    // at most 1032 bytes into one, so a file too short to hold the claimed
    // rows is refused before that memory is taken.
    struct stat info;
    if (passes > 1 && fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) &&
        rowBytes * std::size_t(picture.Height) / 1032 > std::size_t(info.st_size))
        fail("damaged or truncated PNG (" + std::to_string(info.st_size) +
             " bytes cannot hold an interlaced " + FormatSize(picture.Width, picture.Height) +
             " picture)");
    if (!ReadRows(r, passes, picture))
        fail(std::string("damaged or truncated PNG (") + fault.Text + ")");
    if (hadAlpha) warnings << "morvane: " << path << ": warning: the alpha channel is dropped\n";
    return picture;
}

struct TPngWriter::TState {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    TPngFault Fault;
    TSink Sink;
    std::exception_ptr SinkFault;  // what the sink threw, carried past libpng
    std::size_t RowBytes = 0;
    std::string DroppedProfile;
    ~TState() { png_destroy_write_struct(&Png, &Info); }
    // After libpng gave up: the sink's own fault, or libpng's.
    [[noreturn]] void Fail() const {
        if (SinkFault) std::rethrow_exception(SinkFault);
        throw THostError(std::string("PNG: ") + Fault.Text);
    }
};

namespace {

// No C++ object lives across libpng's longjmp out of here.
extern "C" void SendPngBytes(png_structp png, png_bytep data, png_size_t size) {
    auto *s = static_cast<TPngWriter::TState *>(png_get_io_ptr(png));
    try {
        s->Sink(data, size);
        return;
    } catch (...) {
        s->SinkFault = std::current_exception();
    }
    png_error(png, "the output took no more bytes");
}

extern "C" void FlushNothing(png_structp) {}

bool StartPng(TPngWriter::TState &s, int width, int height, int channels, int depth,
              const std::string &icc) {
    if (setjmp(png_jmpbuf(s.Png))) return false;
    png_set_write_fn(s.Png, &s, SendPngBytes, FlushNothing);
    png_set_IHDR(s.Png, s.Info, png_uint_32(width), png_uint_32(height), depth,
                 channels == 1 ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // A profile libpng finds faulty is left out with a warning rather than
    // costing the picture.
    png_set_benign_errors(s.Png, 1);
    if (!icc.empty())
        png_set_iCCP(s.Png, s.Info, "ICC profile", PNG_COMPRESSION_TYPE_BASE,
                     reinterpret_cast<png_const_bytep>(icc.data()), png_uint_32(icc.size()));
    png_set_benign_errors(s.Png, 0);
    png_write_info(s.Png, s.Info);
    if (depth == 16) png_set_swap(s.Png);
    return true;
}

// libpng only reads the rows, through pointers it declares writable.
bool PngRows(TPngWriter::TState &s, const uint8_t *rows, int count) {
    if (setjmp(png_jmpbuf(s.Png))) return false;
    for (int i = 0; i < count; ++i)
        png_write_row(s.Png, const_cast<png_bytep>(rows + std::size_t(i) * s.RowBytes));
    return true;
}

bool EndPng(TPngWriter::TState &s) {
    if (setjmp(png_jmpbuf(s.Png))) return false;
    png_write_end(s.Png, nullptr);
    return true;
}

}  // namespace

TPngWriter::TPngWriter(int width, int height, int channels, int depth,
                       const std::string &iccProfile, TSink sink)
    : F(new TState) {
    TState &s = *F;
    s.Sink = std::move(sink);
    s.RowBytes = std::size_t(width) * channels * (depth / 8);
    s.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s.Fault, OnPngError, OnPngWarning);
    if (!s.Png || !(s.Info = png_create_info_struct(s.Png))) throw THostError("PNG: out of memory");
    if (!StartPng(s, width, height, channels, depth, iccProfile)) s.Fail();
    if (!iccProfile.empty() && !png_get_valid(s.Png, s.Info, PNG_INFO_iCCP))
        s.DroppedProfile = s.Fault.Warning;
}

TPngWriter::~TPngWriter() = default;

void TPngWriter::WriteRows(const uint8_t *rows, int count) {
    if (!PngRows(*F, rows, count)) F->Fail();
}

void TPngWriter::Finish() {
    if (!EndPng(*F)) F->Fail();
}

const std::string &TPngWriter::DroppedProfile() const { return F->DroppedProfile; }

std::string EncodePng(const TPicture &picture, std::string *droppedProfile) {
    std::string out;
    TPngWriter writer(picture.Width, picture.Height, picture.Channels, picture.Depth,
                      picture.IccProfile, [&](const uint8_t *bytes, std::size_t size) {
                          out.append(reinterpret_cast<const char *>(bytes), size);
                      });
    writer.WriteRows(picture.Bytes.data(), picture.Height);
    writer.Finish();
    if (droppedProfile) *droppedProfile = writer.DroppedProfile();
    return out;
}

#endif
