// JPEG in and out: the reader's orientations, colour profiles and faults on
// pictures made here with libjpeg, and the tool end to end through the fake
// filter, which resizes by nearest neighbour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Exif.h"
#include "cli/JpegFile.h"
#include "cli/Tool.h"
#include "standin/HostError.h"
#include "tests/cli/CliTestFiles.h"

using cli_tests::FileExists;
using cli_tests::TFakeInstall;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

std::string RunMorvane(const std::string &filter, const std::vector<std::string> &args,
                       int &status) {
    std::ostringstream out, err;
    status = RunTool(args, filter, out, err);
    return err.str();
}

}  // namespace

#ifndef MORVANE_HAVE_JPEG

TEST(Jpeg, ABuildWithoutLibjpegSaysSo) {
    EXPECT_FALSE(IsJpegAvailable());
    TFakeInstall install;
    TempDir work;
    int status = 0;
    const std::string err = RunMorvane(
        install.Filter(), {"-f", "Box", "-s", "8x8", "builtin", work.Path() + "out.jpg"}, status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("out.jpg: JPEG is not available in this build"), std::string::npos) << err;
    EXPECT_FALSE(FileExists(work.Path() + "out.jpg"));
    EXPECT_NE(HelpText().find("JPEG is not available in this build"), std::string::npos);
}

#else

#include <cstdio>

#include <jpeglib.h>

#include "cli/PngFile.h"

namespace {

struct TPixels {
    int Width = 0, Height = 0, Components = 3;
    std::vector<uint8_t> Bytes;
    uint8_t *At(int x, int y) { return &Bytes[(std::size_t(y) * Width + x) * Components]; }
};

// How a test JPEG is stored.
struct TMaking {
    J_COLOR_SPACE Space = JCS_RGB;       // of the input samples
    J_COLOR_SPACE Stored = JCS_UNKNOWN;  // in the file; unknown: libjpeg's choice
    bool Progressive = false;
    int Orientation = 0;  // 0: no EXIF block
    bool BigEndian = false;
    std::string Icc;
    int Quality = 100;
};

// A minimal EXIF block: IFD0 holding an unrelated tag, then the orientation.
std::string ExifBlock(int orientation, bool bigEndian) {
    std::string b = std::string("Exif\0\0", 6) + (bigEndian ? "MM" : "II");
    const auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) b += char(value >> (8 * (bigEndian ? bytes - 1 - i : i)));
    };
    put(42, 2), put(8, 4), put(2, 2);
    put(0x010f, 2), put(2, 2), put(4, 4), b += std::string("Cam", 4);  // Make, inline
    put(0x0112, 2), put(3, 2), put(1, 4), put(orientation, 2), put(0, 2);
    put(0, 4);
    return b;
}

std::string MakeJpeg(const TPixels &p, const TMaking &m) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *bytes = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &bytes, &size);
    info.image_width = JDIMENSION(p.Width);
    info.image_height = JDIMENSION(p.Height);
    info.input_components = p.Components;
    info.in_color_space = m.Space;
    jpeg_set_defaults(&info);
    if (m.Stored != JCS_UNKNOWN) jpeg_set_colorspace(&info, m.Stored);
    jpeg_set_quality(&info, m.Quality, TRUE);
    // No chroma subsampling, so flat 8x8 blocks survive almost exactly.
    for (int c = 0; c < info.num_components; ++c)
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    if (m.Progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (m.Orientation) {
        const std::string exif = ExifBlock(m.Orientation, m.BigEndian);
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET *>(exif.data()),
                          unsigned(exif.size()));
    }
    if (!m.Icc.empty())
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET *>(m.Icc.data()),
                               unsigned(m.Icc.size()));
    for (int y = 0; y < p.Height; ++y) {
        JSAMPROW row = const_cast<uint8_t *>(&p.Bytes[std::size_t(y) * p.Width * p.Components]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string file(reinterpret_cast<const char *>(bytes), size);
    std::free(bytes);
    return file;
}

// Flat 8x8 blocks, each its own colour, so that every turn and mirror
// moves some block to where another colour belongs.
TPixels Blocks(int width, int height, int components) {
    TPixels p{width, height, components,
              std::vector<uint8_t>(std::size_t(width) * height * components)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                p.At(x, y)[c] = uint8_t((37 * (x / 8) + 91 * (y / 8) + 53 * c) % 200 + 28);
    return p;
}

// The stored picture for an EXIF orientation, from its definition: the
// side of the upright picture that the stored row 0 and column 0 run along.
TPixels Stored(TPixels upright, int orientation) {
    enum { Top, Bottom, Left, Right };
    static const int kRow0[9] = {0, Top, Top, Bottom, Bottom, Left, Right, Right, Left};
    static const int kCol0[9] = {0, Left, Right, Right, Left, Top, Top, Bottom, Bottom};
    const int row0 = kRow0[orientation], col0 = kCol0[orientation];
    const bool swapped = row0 == Left || row0 == Right;
    TPixels s = upright;
    if (swapped) std::swap(s.Width, s.Height);
    const int uw = upright.Width, uh = upright.Height;
    for (int sy = 0; sy < s.Height; ++sy)
        for (int sx = 0; sx < s.Width; ++sx) {
            int ux, uy;
            if (!swapped) {
                uy = row0 == Top ? sy : uh - 1 - sy;
                ux = col0 == Left ? sx : uw - 1 - sx;
            } else {
                ux = row0 == Left ? sy : uw - 1 - sy;
                uy = col0 == Top ? sx : uh - 1 - sx;
            }
            std::copy_n(upright.At(ux, uy), s.Components, s.At(sx, sy));
        }
    return s;
}

// A profile libpng accepts: the header fields it checks, then filler.
std::string IccProfile(std::size_t size, const char *space) {
    std::string icc(size, '\0');
    const auto put32 = [&](std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) icc[at + i] = char(v >> (24 - 8 * i));
    };
    put32(0, uint32_t(size));
    put32(8, 0x02100000);
    icc.replace(12, 4, "mntr"), icc.replace(16, 4, space), icc.replace(20, 4, "XYZ ");
    icc.replace(36, 4, "acsp");
    put32(68, 0xf6d6), put32(72, 0x10000), put32(76, 0xd32d);  // D50
    for (std::size_t i = 132; i < size; ++i) icc[i] = char(i * 7 + i / 251);
    return icc;
}

TPixels ReadAll(TJpegReader &reader, int band) {
    TPixels p{reader.Width(), reader.Height(), reader.Components(), {}};
    p.Bytes.resize(std::size_t(p.Width) * p.Height * p.Components);
    for (int y = 0; y < p.Height; y += band)
        reader.ReadRows(p.At(0, y), std::min(band, p.Height - y));
    reader.Finish();
    return p;
}

TPixels Decode(const std::string &file, int band = 1) {
    std::ostringstream warnings;
    TJpegReader reader("t.jpg", reinterpret_cast<const uint8_t *>(file.data()), file.size(), 8192,
                       8192, warnings);
    TPixels p = ReadAll(reader, band);
    EXPECT_EQ(warnings.str(), "");
    return p;
}

void ExpectNear(TPixels &got, TPixels &want, int tolerance, const std::string &what) {
    ASSERT_EQ(got.Width, want.Width) << what;
    ASSERT_EQ(got.Height, want.Height) << what;
    ASSERT_EQ(got.Components, want.Components) << what;
    for (int y = 0; y < got.Height; ++y)
        for (int x = 0; x < got.Width; ++x)
            for (int c = 0; c < got.Components; ++c)
                ASSERT_NEAR(got.At(x, y)[c], want.At(x, y)[c], tolerance)
                    << what << ": pixel " << x << "," << y << " channel " << c;
}

std::string ReaderFault(const std::string &file, int maxWidth = 8192, int maxHeight = 8192) {
    std::ostringstream warnings;
    try {
        TJpegReader reader("t.jpg", reinterpret_cast<const uint8_t *>(file.data()), file.size(),
                           maxWidth, maxHeight, warnings);
        ReadAll(reader, 7);
    } catch (const THostError &e) {
        return e.what();
    }
    return "read";
}

}  // namespace

TEST(Jpeg, EveryOrientationReadsUprightBaselineOrProgressive) {
    TPixels upright = Blocks(24, 16, 3);
    for (bool progressive : {false, true})
        for (int o = 1; o <= 8; ++o) {
            TMaking m;
            m.Progressive = progressive;
            m.Orientation = o;
            m.BigEndian = o % 2 == 0;
            const std::string file = MakeJpeg(Stored(upright, o), m);
            const std::string what = std::string(progressive ? "progressive" : "baseline") +
                                     ", orientation " + std::to_string(o);
            TPixels got = Decode(file, 5);
            ExpectNear(got, upright, 4, what);
        }
}

TEST(Jpeg, GreyStaysGreyAndTheLimitIsTheUprightSize) {
    TPixels grey = Blocks(16, 40, 1);
    TMaking m;
    m.Space = JCS_GRAYSCALE;
    TPixels got = Decode(MakeJpeg(grey, m));
    ExpectNear(got, grey, 2, "grey");

    m.Orientation = 6;  // upright 40x16
    const std::string turned = MakeJpeg(grey, m);
    EXPECT_EQ(ReaderFault(turned, 40, 16), "read");
    EXPECT_EQ(ReaderFault(turned, 16, 40),
              "t.jpg: the picture's size 40x16 is beyond the largest frame 16x40");
}

TEST(Jpeg, RefusesWhatItCannotReadInOneLine) {
    TPixels cmyk = Blocks(16, 16, 4);
    TMaking ycck, plainCmyk;
    ycck.Space = plainCmyk.Space = JCS_CMYK;
    ycck.Stored = JCS_YCCK;
    const std::string good = MakeJpeg(Blocks(64, 48, 3), TMaking{});
    // The last scan of a progressive picture again and again: each one
    // decodes, and a small file keeps the decoder busy without end.
    TMaking progressive;
    progressive.Progressive = true;
    const std::string scans = MakeJpeg(Blocks(64, 48, 3), progressive);
    const std::size_t last = scans.rfind("\xff\xda");
    std::string spinning = scans.substr(0, last);
    for (int i = 0; i < 600; ++i) spinning += scans.substr(last, scans.size() - 2 - last);
    spinning += "\xff\xd9";
    const struct {
        std::string file, fault;
    } cases[] = {
        {MakeJpeg(cmyk, ycck),
         "t.jpg: CMYK JPEG (stored as YCCK) is not supported (only grey and colour)"},
        {MakeJpeg(cmyk, plainCmyk), "t.jpg: CMYK JPEG is not supported (only grey and colour)"},
        {"GIF89a", "t.jpg: not a JPEG file"},
        {good.substr(0, 200), "t.jpg: damaged or truncated JPEG (Premature end of JPEG file)"},
        {good.substr(0, good.size() / 2), "t.jpg: damaged or truncated JPEG"},
        {good.substr(0, good.size() - 2), "t.jpg: damaged or truncated JPEG"},
        {spinning, "t.jpg: damaged or truncated JPEG (more than 500 scans)"},
    };
    // Bytes before the end marker: the picture decodes, with one warning.
    std::string extra = good;
    extra.insert(extra.size() - 2, "abc");
    std::ostringstream warnings;
    TJpegReader reader("t.jpg", reinterpret_cast<const uint8_t *>(extra.data()), extra.size(), 8192,
                       8192, warnings);
    ReadAll(reader, 48);
    EXPECT_EQ(
        warnings.str(),
        "morvane: t.jpg: warning: Corrupt JPEG data: 3 extraneous bytes before marker 0xd9\n");
    for (const auto &c : cases) {
        const std::string fault = ReaderFault(c.file);
        EXPECT_EQ(fault.substr(0, c.fault.size()), c.fault);
        EXPECT_EQ(fault.find('\n'), std::string::npos) << fault;
    }
}

TEST(Exif, OrientationFromAnyByteOrderAndNothingFromHostileBlocks) {
    for (bool big : {false, true})
        for (int o = 1; o <= 8; ++o) {
            const std::string b = ExifBlock(o, big);
            EXPECT_EQ(ExifOrientation(reinterpret_cast<const uint8_t *>(b.data()), b.size()), o);
        }
    const std::string good = ExifBlock(6, false);
    using TPatch = std::pair<std::size_t, std::string>;
    const auto with = [&](std::initializer_list<TPatch> patches) {
        std::string b = good;
        for (const TPatch &p : patches) b.replace(p.first, p.second.size(), p.second);
        return b;
    };
    const auto bytes = [](const char *text, std::size_t size) { return std::string(text, size); };
    // Offsets count from the TIFF header, 6 bytes in; the orientation entry
    // is the second of IFD0, at 6 + 8 + 2 + 12.
    const std::size_t entry = 28, next = 40;
    const TPatch notOrientation{entry, bytes("\x13\x01", 2)};
    const std::string cases[] = {
        good.substr(0, good.size() - 8),                     // the value cut off
        with({{0, bytes("Exif\0\1", 6)}}),                   // not an EXIF header
        with({{6, "IM"}}),                                   // no byte order
        with({{8, bytes("\x2b\0", 2)}}),                     // not TIFF
        with({{10, bytes("\xf8\xff\xff\xff", 4)}}),          // IFD0 past the end
        with({{14, bytes("\xff\xff", 2)}, notOrientation}),  // more entries than bytes
        with({{entry + 2, bytes("\4\0", 2)}}),               // a LONG, not a SHORT
        with({{entry + 4, bytes("\2\0\0\0", 4)}}),           // two values
        with({{entry + 8, bytes("\x09\0", 2)}}),             // no such orientation
        with({{entry + 8, bytes("\0\0", 2)}}),
        with({{next, bytes("\x08\0\0\0", 4)}, notOrientation}),  // the next IFD is IFD0
    };
    for (const std::string &b : cases)
        EXPECT_EQ(ExifOrientation(reinterpret_cast<const uint8_t *>(b.data()), b.size()), 1)
            << testing::PrintToString(b);
}

namespace {

// A picture read back from the tool's output, whichever kind it is.
TPicture ReadOutput(const std::string &path) {
    std::ostringstream warnings;
    if (path.substr(path.size() - 4) == ".png") return ReadPng(path, warnings);
    TJpegReader reader(path, 8192, 8192, warnings);
    TPicture got;
    got.Width = reader.Width(), got.Height = reader.Height();
    got.Channels = reader.Components(), got.IccProfile = reader.IccProfile();
    return got;
}

}  // namespace

// A sink that fails part way (a full disk, a closed pipe) makes the writer's
// call throw what the sink threw, past the codec's own error handling; a
// profile libpng finds faulty is left out and said so.
TEST(JpegThroughTheTool, TheRowWritersPassTheSinksFaultOn) {
    struct TFull : std::runtime_error {
        TFull() : std::runtime_error("full") {}
    };
    TPicture picture(64, 64, 3, 8);  // noise, so that neither codec packs it small
    uint32_t noise = 1;
    for (uint8_t &b : picture.Bytes) b = uint8_t((noise = noise * 1664525u + 1013904223u) >> 24);
    const auto sink = [](std::size_t room) {
        return [room, taken = std::size_t(0)](const uint8_t *, std::size_t n) mutable {
            if ((taken += n) > room) throw TFull();
        };
    };
    const auto rowByRow = [&](auto &writer) {
        for (int y = 0; y < picture.Height; ++y) writer.WriteRows(picture.Row(y), 1);
        writer.Finish();
    };
    for (const std::size_t room : {std::size_t(0), std::size_t(100), std::size_t(2000)}) {
        EXPECT_THROW(
            {
                TPngWriter png(64, 64, 3, 8, "", sink(room));
                rowByRow(png);
            },
            TFull)
            << "PNG, room " << room;
        EXPECT_THROW(
            {
                TJpegWriter jpeg(64, 64, 3, 90, "", sink(room));
                rowByRow(jpeg);
            },
            TFull)
            << "JPEG, room " << room;
    }
    std::string bytes;
    TPngWriter png(64, 64, 3, 8, "not a profile", [&](const uint8_t *b, std::size_t n) {
        bytes.append(reinterpret_cast<const char *>(b), n);
    });
    rowByRow(png);
    EXPECT_FALSE(png.DroppedProfile().empty());
    picture.IccProfile = "not a profile";
    EXPECT_TRUE(bytes == EncodePng(picture));
}

// A picture passing once is decoded (a JPEG) and encoded a band at a time by
// the workers in turn; with --frames the picture is held whole instead.
// Both give the same bytes, however many workers take the bands.
TEST(JpegThroughTheTool, BandsGiveTheWholePicturesBytes) {
    TFakeInstall install;
    TempDir work;
    work.Write("tall.jpg", MakeJpeg(Blocks(40, 900, 3), TMaking()));
    TPicture grey(24, 700, 1, 16);
    for (std::size_t i = 0; i < grey.Bytes.size(); ++i) grey.Bytes[i] = uint8_t(i * 7 + i / 97);
    work.Write("tall.png", EncodePng(grey));
    const std::string path = work.Path();
    for (const char *in : {"tall.jpg", "tall.png"})
        for (const char *ext : {"jpg", "png", "ppm"}) {
            const auto run = [&](const char *frames, const char *threads) {
                const std::string out = path + "out." + ext;
                int status = 0;
                const std::string err = RunMorvane(install.Filter(),
                                                   {"-q", "-f", "Box", "-s", "30x800", "--frames",
                                                    frames, "-t", threads, path + in, out},
                                                   status);
                EXPECT_EQ(status, 0) << in << " -> " << ext << ": " << err;
                return ReadFile(out);
            };
            const std::string whole = run("2", "1");
            ASSERT_FALSE(whole.empty());
            for (const char *threads : {"1", "4"})
                EXPECT_TRUE(run("1", threads) == whole)
                    << in << " -> " << ext << ", threads " << threads;
        }
}

// A profile larger than one APP2 chunk, from JPEG and PNG to both.
TEST(JpegThroughTheTool, KeepsTheProfileTheLayoutAndTheOldOutputOnAFault) {
    TFakeInstall install;
    TempDir work;
    const std::string icc = IccProfile(70000, "RGB "), bogus = "not a profile", none;
    TMaking m;
    m.Icc = icc;
    m.Orientation = 8;
    work.Write("in.jpg", MakeJpeg(Blocks(48, 32, 3), m));
    m.Icc = bogus;
    work.Write("bogus.jpg", MakeJpeg(Blocks(16, 16, 3), m));
    TPicture png(48, 32, 3, 16);
    png.IccProfile = icc;
    work.Write("in.png", EncodePng(png));
    TMaking grey;
    grey.Space = JCS_GRAYSCALE;
    work.Write("grey.JPEG", MakeJpeg(Blocks(48, 32, 1), grey));
    const std::string path = work.Path();
    const struct {
        const char *in, *out;
        int width, height, components;
        const std::string &profile;
        std::string warning;  // the start of standard error
    } cases[] = {
        {"in.jpg", "a.jpg", 8, 12, 3, icc, ""},
        {"in.jpg", "a.png", 8, 12, 3, icc, ""},
        {"in.png", "b.jpg", 18, 12, 3, icc, ""},
        {"grey.JPEG", "g.jpg", 18, 12, 1, none, ""},
        {"grey.JPEG", "g.png", 18, 12, 1, none, ""},
        // A JPEG carries any bytes; libpng refuses what is no profile.
        {"bogus.jpg", "c.jpg", 12, 12, 3, bogus, ""},
        {"bogus.jpg", "c.png", 12, 12, 3, none,
         "morvane: " + path + "c.png: warning: the colour profile is left out ("},
    };
    for (const auto &c : cases) {
        int status = 0;
        const std::string err = RunMorvane(
            install.Filter(), {"-q", "-f", "Box", "-s", "x12", path + c.in, path + c.out}, status);
        const std::string what = std::string(c.in) + " -> " + c.out;
        ASSERT_EQ(status, 0) << what << ": " << err;
        EXPECT_EQ(err.substr(0, c.warning.size()), c.warning) << what;
        EXPECT_EQ(err.empty(), c.warning.empty()) << what << ": " << err;
        const TPicture got = ReadOutput(path + c.out);
        EXPECT_EQ(got.Width, c.width) << what;
        EXPECT_EQ(got.Height, c.height) << what;
        EXPECT_EQ(got.Channels, c.components) << what;
        EXPECT_TRUE(got.IccProfile == c.profile)
            << what << ": " << got.IccProfile.size() << " bytes";
    }

    // A lower quality makes a smaller file of the same picture.
    int status = 0;
    std::size_t sizes[2];
    for (int q : {20, 95}) {
        const std::string out = path + "q" + std::to_string(q) + ".jpg";
        RunMorvane(install.Filter(),
                   {"-q", "-f", "Box", "-s", "32x48", "--quality", std::to_string(q),
                    path + "in.jpg", out},
                   status);
        ASSERT_EQ(status, 0);
        sizes[q == 95] = ReadFile(out).size();
    }
    EXPECT_LT(sizes[0], sizes[1]);

    // A batch into a folder, each in its own box, keeps each input's name.
    const std::string folder = path + "fit";
    std::filesystem::create_directory(folder);
    RunMorvane(
        install.Filter(),
        {"-q", "-f", "Box", "--fit", "10x10", path + "in.jpg", path + "grey.JPEG", "-o", folder},
        status);
    ASSERT_EQ(status, 0);
    const TPicture turned = ReadOutput(folder + "/in.jpg"),
                   greyFit = ReadOutput(folder + "/grey.JPEG");
    EXPECT_EQ(std::vector<int>(
                  {turned.Width, turned.Height, greyFit.Width, greyFit.Height, greyFit.Channels}),
              std::vector<int>({7, 10, 10, 7, 1}));

    work.Write("wide.jpg", MakeJpeg(Blocks(9000, 8, 1), grey));
    EXPECT_EQ(RunMorvane(install.Filter(),
                         {"-f", "Box", "-s", "8x8", path + "wide.jpg", path + "wide.png"}, status),
              "morvane: " + path +
                  "wide.jpg: the picture's size 9000x8 is beyond the largest frame 8192x8192\n");
    EXPECT_FALSE(FileExists(path + "wide.png"));
    // Cut short: turned (decoded whole), or upright and tall, which is decoded
    // a band at a time while other workers wait for theirs or convert.
    const std::string old = ReadFile(path + "a.jpg");
    work.Write("tall.jpg", MakeJpeg(Blocks(40, 900, 3), TMaking()));
    for (const char *in : {"in.jpg", "tall.jpg"})
        for (const double kept : {0.4, 0.97})
            for (const char *threads : {"1", "4"}) {
                const std::string whole = ReadFile(path + in);
                work.Write("cut.jpg", whole.substr(0, std::size_t(whole.size() * kept)));
                const std::string err = RunMorvane(
                    install.Filter(),
                    {"-t", threads, "-f", "Box", "-s", "x12", path + "cut.jpg", path + "a.jpg"},
                    status);
                const std::string what =
                    std::string(in) + " cut to " + std::to_string(kept) + ", threads " + threads;
                EXPECT_EQ(status, 1) << what;
                EXPECT_EQ(err, "morvane: " + path +
                                   "cut.jpg: damaged or truncated JPEG (Premature end of JPEG "
                                   "file)\n")
                    << what;
                EXPECT_TRUE(ReadFile(path + "a.jpg") == old) << what;
            }
    // Its header alone is beyond --max: refused before any decoding, so the
    // damage is never reached.
    const std::string err = RunMorvane(
        install.Filter(),
        {"--max", "16x16", "-f", "Box", "-s", "8x8", path + "cut.jpg", path + "a.jpg"}, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(err.rfind("morvane: --max: the editor's largest frame 16x16 must hold the input", 0),
              0u)
        << err;
}

#endif
