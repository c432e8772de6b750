#include "cli/JpegFile.h"

#include <stdexcept>

#include "standin/HostError.h"

#ifndef MORVANE_HAVE_JPEG

namespace {
[[noreturn]] void Unavailable(const std::string &name) {
    throw THostError(name + ": JPEG is not available in this build of the tool");
}
}  // namespace

bool IsJpegAvailable() { return false; }

struct TJpegReader::TState {};
TJpegReader::TJpegReader(const std::string &path, int, int, std::ostream &) { Unavailable(path); }
TJpegReader::TJpegReader(const std::string &name, const uint8_t *, std::size_t, int, int,
                         std::ostream &) {
    Unavailable(name);
}
TJpegReader::~TJpegReader() = default;
int TJpegReader::Width() const { return 0; }
int TJpegReader::Height() const { return 0; }
int TJpegReader::Components() const { return 0; }
int TJpegReader::Orientation() const { return 1; }
const std::string &TJpegReader::IccProfile() const {
    static const std::string none;
    return none;
}
void TJpegReader::ReadRows(uint8_t *, int) {}
void TJpegReader::Finish() {}

struct TJpegWriter::TState {};
TJpegWriter::TJpegWriter(int, int, int, int, const std::string &, TSink) { Unavailable("JPEG"); }
TJpegWriter::~TJpegWriter() = default;
void TJpegWriter::WriteRows(const uint8_t *, int) {}
void TJpegWriter::Finish() {}

#else

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "cli/Exif.h"
#include "cli/Orientation.h"
#include "cli/Picture.h"
#include "cli/TargetSize.h"

namespace {

// A progressive encoder writes about ten scans; hundreds only make a
// small file keep the decoder busy for minutes.
constexpr int kMaxScans = 500;
// What one APP2 chunk holds and the chunks a profile may take (the count
// is one byte).
constexpr std::size_t kIccChunkBytes = 65519;
constexpr std::size_t kMaxIccChunks = 255;
constexpr std::size_t kOutputBufferBytes = 1 << 16;

// libjpeg reports faults through error_exit, which must not return; it
// longjmps back to the call that Guarded made, and the message is kept for
// the throw that follows in C++ code. Standard layout: `Manager` is what
// libjpeg holds.
struct TJpegFault {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Text[JMSG_LENGTH_MAX];
    char Warning[JMSG_LENGTH_MAX];
    int Warnings;
};

TJpegFault &FaultOf(j_common_ptr info) { return *reinterpret_cast<TJpegFault *>(info->err); }

extern "C" void OnJpegError(j_common_ptr info) {
    TJpegFault &fault = FaultOf(info);
    (*info->err->format_message)(info, fault.Text);
    std::longjmp(fault.Jump, 1);
}

// Warnings (level -1) are kept for one line at the end; trace messages are
// dropped. A file cut short reads as if it ended there, the rest of the
// picture grey: that is a fault, not a picture to resize.
extern "C" void OnJpegMessage(j_common_ptr info, int level) {
    if (level >= 0) return;
    const int code = info->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) OnJpegError(info);
    TJpegFault &fault = FaultOf(info);
    if (fault.Warnings++ == 0) (*info->err->format_message)(info, fault.Warning);
}

extern "C" void OnJpegProgress(j_common_ptr info) {
    const auto *d = reinterpret_cast<j_decompress_ptr>(info);
    if (d->input_scan_number <= kMaxScans) return;
    TJpegFault &fault = FaultOf(info);
    std::snprintf(fault.Text, sizeof fault.Text, "more than %d scans", kMaxScans);
    std::longjmp(fault.Jump, 1);
}

jpeg_error_mgr *InitFault(TJpegFault &fault) {
    std::memset(&fault, 0, sizeof fault);
    jpeg_std_error(&fault.Manager);
    fault.Manager.error_exit = OnJpegError;
    fault.Manager.emit_message = OnJpegMessage;
    return &fault.Manager;
}

// `step` calls libjpeg only and creates no C++ object, so that a longjmp
// out of it skips no destructor.
template <class TStep>
bool Guarded(TJpegFault &fault, TStep step) {
    if (setjmp(fault.Jump)) return false;
    step();
    return true;
}

}  // namespace

bool IsJpegAvailable() { return true; }

struct TJpegReader::TState {
    jpeg_decompress_struct Info;
    TJpegFault Fault;
    jpeg_progress_mgr Progress;
    bool Created = false;
    std::FILE *File = nullptr;
    std::string Name;
    std::ostream *Warnings = nullptr;
    int StoredWidth = 0, StoredHeight = 0;
    int Width = 0, Height = 0, Components = 0, Orientation = 1;
    std::string Icc;
    bool Started = false;
    int NextRow = 0;
    // A stored row, or the whole picture to turn; the decoder writes every
    // byte, so none is cleared first.
    TSampleBytes Stored;

    ~TState() {
        if (Created) jpeg_destroy_decompress(&Info);
        if (File) std::fclose(File);
    }
    [[noreturn]] void Fail(const std::string &fault) const {
        throw THostError(Name + ": " + fault);
    }
    [[noreturn]] void FailDecoding() const {
        if (Fault.Manager.msg_code == JERR_NO_SOI) Fail("not a JPEG file");
        Fail(std::string("damaged or truncated JPEG (") + Fault.Text + ")");
    }
    std::size_t StoredRowBytes() const { return std::size_t(StoredWidth) * Components; }
    const uint8_t *Bytes = nullptr;  // read from memory when not from File
    std::size_t Size = 0;
    void Open(int maxWidth, int maxHeight);
    void ReadMetadata();
    void Start();
};

void TJpegReader::TState::Open(int maxWidth, int maxHeight) {
    Info.err = InitFault(Fault);
    if (!Guarded(Fault, [&] { jpeg_create_decompress(&Info); })) FailDecoding();
    Created = true;
    Progress.progress_monitor = OnJpegProgress;
    Info.progress = &Progress;
    if (!Guarded(Fault, [&] {
            if (File)
                jpeg_stdio_src(&Info, File);
            else
                jpeg_mem_src(&Info, Bytes, static_cast<unsigned long>(Size));
            jpeg_save_markers(&Info, JPEG_APP0 + 1, 0xffff);
            jpeg_save_markers(&Info, JPEG_APP0 + 2, 0xffff);
            jpeg_read_header(&Info, TRUE);
        }))
        FailDecoding();
    if (Info.jpeg_color_space == JCS_CMYK || Info.jpeg_color_space == JCS_YCCK)
        Fail(std::string(Info.jpeg_color_space == JCS_CMYK ? "CMYK JPEG"
                                                           : "CMYK JPEG (stored as YCCK)") +
             " is not supported (only grey and colour)");
    if (Info.num_components != 1 && Info.num_components != 3)
        Fail("a JPEG of " + std::to_string(Info.num_components) +
             " components is not supported (only grey and colour)");
    Components = Info.num_components;
    Info.out_color_space = Components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    ReadMetadata();
    StoredWidth = int(Info.image_width);
    StoredHeight = int(Info.image_height);
    Width = SwapsSides(Orientation) ? StoredHeight : StoredWidth;
    Height = SwapsSides(Orientation) ? StoredWidth : StoredHeight;
    const std::string beyond =
        LargestFrameFault("the picture's size", Width, Height, maxWidth, maxHeight);
    if (!beyond.empty()) Fail(beyond);
}

void TJpegReader::TState::ReadMetadata() {
    for (jpeg_saved_marker_ptr m = Info.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1) {
            Orientation = ExifOrientation(m->data, m->data_length);
            if (Orientation != 1) break;
        }
    JOCTET *icc = nullptr;
    unsigned int iccBytes = 0;
    if (!Guarded(Fault, [&] { jpeg_read_icc_profile(&Info, &icc, &iccBytes); })) FailDecoding();
    if (!icc) return;
    struct TFree {
        JOCTET *Bytes;
        ~TFree() { std::free(Bytes); }
    } release{icc};
    Icc.assign(reinterpret_cast<const char *>(icc), iccBytes);
}

// A turned picture is decoded whole before its first upright row; one kept
// upright, or only mirrored, a row at a time.
void TJpegReader::TState::Start() {
    Started = true;
    if (!Guarded(Fault, [&] { jpeg_start_decompress(&Info); })) FailDecoding();
    const bool whole = !KeepsRowOrder(Orientation);
    Stored.resize(StoredRowBytes() * (whole ? std::size_t(StoredHeight) : 1));
    if (!whole) return;
    uint8_t *base = Stored.data();
    const std::size_t rowBytes = StoredRowBytes();
    if (!Guarded(Fault, [&] {
            while (Info.output_scanline < Info.output_height) {
                JSAMPROW row = base + Info.output_scanline * rowBytes;
                jpeg_read_scanlines(&Info, &row, 1);
            }
        }))
        FailDecoding();
}

TJpegReader::TJpegReader(const std::string &path, int maxWidth, int maxHeight,
                         std::ostream &warnings)
    : F(new TState) {
    F->Name = path;
    F->Warnings = &warnings;
    F->File = std::fopen(path.c_str(), "rb");
    if (!F->File) F->Fail("cannot be opened");
    F->Open(maxWidth, maxHeight);
}

TJpegReader::TJpegReader(const std::string &name, const uint8_t *bytes, std::size_t size,
                         int maxWidth, int maxHeight, std::ostream &warnings)
    : F(new TState) {
    F->Name = name;
    F->Warnings = &warnings;
    if (size == 0) F->Fail("not a JPEG file");
    F->Bytes = bytes;
    F->Size = size;
    F->Open(maxWidth, maxHeight);
}

TJpegReader::~TJpegReader() = default;

int TJpegReader::Width() const { return F->Width; }
int TJpegReader::Height() const { return F->Height; }
int TJpegReader::Components() const { return F->Components; }
int TJpegReader::Orientation() const { return F->Orientation; }
const std::string &TJpegReader::IccProfile() const { return F->Icc; }

void TJpegReader::ReadRows(uint8_t *rows, int count) {
    TState &s = *F;
    if (count < 0 || count > s.Height - s.NextRow)
        throw std::logic_error(s.Name + ": rows asked for past the picture's end");
    if (!s.Started) s.Start();
    const std::size_t rowBytes = std::size_t(s.Width) * s.Components;
    for (int i = 0; i < count; ++i, ++s.NextRow) {
        uint8_t *row = rows + i * rowBytes;
        if (!KeepsRowOrder(s.Orientation)) {
            UprightRow(s.Stored.data(), s.StoredWidth, s.StoredHeight, s.Components, s.Orientation,
                       s.NextRow, row);
            continue;
        }
        // Orientation 1 decodes straight into the caller's row.
        JSAMPROW into = s.Orientation == 1 ? row : s.Stored.data();
        if (!Guarded(s.Fault, [&] { jpeg_read_scanlines(&s.Info, &into, 1); })) s.FailDecoding();
        if (s.Orientation != 1)
            UprightRow(s.Stored.data(), s.StoredWidth, 1, s.Components, s.Orientation, 0, row);
    }
}

void TJpegReader::Finish() {
    TState &s = *F;
    if (s.NextRow != s.Height)
        throw std::logic_error(s.Name + ": finished before the picture's last row");
    if (!Guarded(s.Fault, [&] { jpeg_finish_decompress(&s.Info); })) s.FailDecoding();
    if (s.Fault.Warnings == 0) return;
    *s.Warnings << "morvane: " << s.Name << ": warning: " << s.Fault.Warning;
    if (s.Fault.Warnings > 1) *s.Warnings << " (and " << s.Fault.Warnings - 1 << " more)";
    *s.Warnings << "\n";
}

// The writer's bytes go to the sink a buffer at a time. Standard layout:
// `Manager` is what libjpeg holds.
struct TJpegDestination {
    jpeg_destination_mgr Manager;
    TJpegWriter::TState *Owner;
};

struct TJpegWriter::TState {
    jpeg_compress_struct Info;
    TJpegFault Fault;
    TJpegDestination Destination;
    bool Created = false;
    int Width = 0, Height = 0, Components = 0;
    TSink Sink;
    std::vector<uint8_t> Buffer = std::vector<uint8_t>(kOutputBufferBytes);
    std::exception_ptr Pending;  // what the sink threw

    ~TState() {
        if (Created) jpeg_destroy_compress(&Info);
    }
    // Whatever the sink throws stops here and is thrown again once libjpeg
    // has been left.
    bool Deliver(std::size_t size) noexcept {
        try {
            Sink(Buffer.data(), size);
            return true;
        } catch (...) {
            Pending = std::current_exception();
            return false;
        }
    }
    void Check(bool done) const {
        if (done) return;
        if (Pending) std::rethrow_exception(Pending);
        throw THostError(std::string("JPEG: ") + Fault.Text);
    }
};

namespace {

TJpegWriter::TState &WriterOf(j_compress_ptr info) {
    return *reinterpret_cast<TJpegDestination *>(info->dest)->Owner;
}

void RefillBuffer(j_compress_ptr info) {
    TJpegWriter::TState &s = WriterOf(info);
    info->dest->next_output_byte = s.Buffer.data();
    info->dest->free_in_buffer = s.Buffer.size();
}

void Send(j_compress_ptr info, std::size_t size) {
    TJpegWriter::TState &s = WriterOf(info);
    if (s.Deliver(size)) return;
    std::snprintf(s.Fault.Text, sizeof s.Fault.Text, "the output could not be written");
    std::longjmp(s.Fault.Jump, 1);
}

extern "C" void OnDestinationInit(j_compress_ptr info) { RefillBuffer(info); }

extern "C" boolean OnDestinationFull(j_compress_ptr info) {
    Send(info, WriterOf(info).Buffer.size());
    RefillBuffer(info);
    return TRUE;
}

extern "C" void OnDestinationEnd(j_compress_ptr info) {
    Send(info, WriterOf(info).Buffer.size() - info->dest->free_in_buffer);
}

}  // namespace

TJpegWriter::TJpegWriter(int width, int height, int components, int quality,
                         const std::string &iccProfile, TSink sink)
    : F(new TState) {
    TState &s = *F;
    if (iccProfile.size() > kIccChunkBytes * kMaxIccChunks)
        throw THostError("JPEG: the ICC profile of " + std::to_string(iccProfile.size()) +
                         " bytes is larger than a JPEG holds (" +
                         std::to_string(kIccChunkBytes * kMaxIccChunks) + ")");
    s.Width = width;
    s.Height = height;
    s.Components = components;
    s.Sink = std::move(sink);
    s.Info.err = InitFault(s.Fault);
    s.Check(Guarded(s.Fault, [&] { jpeg_create_compress(&s.Info); }));
    s.Created = true;
    s.Destination.Owner = &s;
    s.Destination.Manager.init_destination = OnDestinationInit;
    s.Destination.Manager.empty_output_buffer = OnDestinationFull;
    s.Destination.Manager.term_destination = OnDestinationEnd;
    s.Info.dest = &s.Destination.Manager;
    s.Info.image_width = JDIMENSION(width);
    s.Info.image_height = JDIMENSION(height);
    s.Info.input_components = components;
    s.Info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    const auto *icc = reinterpret_cast<const JOCTET *>(iccProfile.data());
    const auto iccBytes = static_cast<unsigned int>(iccProfile.size());
    s.Check(Guarded(s.Fault, [&] {
        jpeg_set_defaults(&s.Info);
        jpeg_set_quality(&s.Info, quality, TRUE);
        jpeg_start_compress(&s.Info, TRUE);
        if (iccBytes) jpeg_write_icc_profile(&s.Info, icc, iccBytes);
    }));
}

TJpegWriter::~TJpegWriter() = default;

void TJpegWriter::WriteRows(const uint8_t *rows, int count) {
    TState &s = *F;
    const std::size_t rowBytes = std::size_t(s.Width) * s.Components;
    s.Check(Guarded(s.Fault, [&] {
        for (int i = 0; i < count; ++i) {
            JSAMPROW row = const_cast<uint8_t *>(rows + i * rowBytes);
            jpeg_write_scanlines(&s.Info, &row, 1);
        }
    }));
}

void TJpegWriter::Finish() {
    TState &s = *F;
    s.Check(Guarded(s.Fault, [&] { jpeg_finish_compress(&s.Info); }));
}

#endif
