// Reading and writing binary PPM files, and never leaving a partial output.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "standin/HostError.h"
#include "cli/PpmFile.h"
#include "cli/OutputFile.h"
#include "tests/cli/CliTestFiles.h"

using cli_tests::FileExists;
using testing_support::FolderEntries;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

std::string FaultOf(const std::string &bytes) {
    try {
        ParsePpm(bytes, "in.ppm");
    } catch (const THostError &e) {
        return e.what();
    }
    return "accepted";
}

}  // namespace

TEST(PpmFile, ReadsHeadersWithCommentsAndAnyBlanks) {
    const std::string pixels = "\x01\x02\x03\xfd\xfe\xff";
    const TPicture image =
        ParsePpm("P6 # made by hand\n2\t1\r\n# maxval next\n255\n" + pixels, "a");
    ASSERT_EQ(image.Width, 2);
    ASSERT_EQ(image.Height, 1);
    EXPECT_EQ(std::string(image.Bytes.begin(), image.Bytes.end()), pixels);
    // One blank ends the header; samples that look like blanks are samples.
    const TPicture blanks = ParsePpm(std::string("P6 1 1 255 ") + "\n\n\n", "b");
    EXPECT_EQ(blanks.Samples(), (std::vector<uint16_t>{'\n', '\n', '\n'}));
}

TEST(PpmFile, WritesWhatItReads) {
    TempDir dir;
    TPicture image(3, 2, 3, 8);
    for (std::size_t i = 0; i < image.Bytes.size(); ++i) image.Bytes[i] = uint8_t(i * 13 + 7);
    const std::string path = dir.Path() + "out.ppm";
    WritePpm(path, image);
    EXPECT_EQ(ReadFile(path).substr(0, 11), "P6\n3 2\n255\n");
    const TPicture back = ReadPpm(path);
    EXPECT_EQ(back.Width, 3);
    EXPECT_EQ(back.Height, 2);
    EXPECT_EQ(back.Bytes, image.Bytes);
}

TEST(PpmFile, RejectsMalformedFilesWithAClearMessage) {
    EXPECT_EQ(FaultOf(""), "in.ppm: not a binary PPM file (P6)");
    EXPECT_EQ(FaultOf("BM\x36\x00"), "in.ppm: not a binary PPM file (P6)");
    EXPECT_EQ(FaultOf("P3 1 1 255 0 0 0"),
              "in.ppm: plain-text PPM (P3) is not supported, only binary P6");
    EXPECT_EQ(FaultOf("P6 1"), "in.ppm: damaged PPM header: no height");
    EXPECT_EQ(FaultOf("P6 1 x 255 "), "in.ppm: damaged PPM header: no height");
    EXPECT_EQ(FaultOf("P6 2 2 # no maximum"), "in.ppm: damaged PPM header: no maximum value");
    EXPECT_EQ(FaultOf("P6 2 2 255"),
              "in.ppm: damaged PPM header: no blank after the maximum value");
    EXPECT_EQ(FaultOf("P6 0 5 255 "), "in.ppm: image size 0x5 is not supported (1x1 to 8192x8192)");
    EXPECT_EQ(FaultOf("P6 40000 1 255 "),
              "in.ppm: image size 40000x1 is not supported (1x1 to 8192x8192)");
    EXPECT_EQ(FaultOf("P6 1 1 65535 \x01\x02\x03\x04\x05\x06"),
              "in.ppm: maximum value 65535 is not supported, only 8-bit (255)");
    EXPECT_EQ(FaultOf("P6 2 2 255 abcdefghij"), "in.ppm: truncated: 10 of 12 sample bytes");
}

// Rows in pieces of any size, the first straddling what was read with the
// header, are the whole read's; a regular file too short is refused before.
TEST(PpmFile, TheRowReaderHandsOutTheWholeReadsRows) {
    TempDir dir;
    TPicture image(50, 40, 3, 8);  // 6000 sample bytes, beyond the header's read
    for (std::size_t i = 0; i < image.Bytes.size(); ++i) image.Bytes[i] = uint8_t(i * 31 + i / 7);
    const std::string path = dir.Path() + "in.ppm";
    WritePpm(path, image);
    for (const int rows : {1, 3, 7, 40}) {
        TPpmReader reader(path);
        ASSERT_EQ(reader.Width() * reader.Height(), 2000);
        std::vector<uint8_t> got(image.Bytes.size());
        for (int y = 0; y < 40; y += rows)
            reader.ReadRows(got.data() + std::size_t(y) * 150, std::min(rows, 40 - y));
        EXPECT_TRUE(std::equal(got.begin(), got.end(), image.Bytes.begin())) << rows;
        EXPECT_THROW(reader.ReadRows(got.data(), 1), std::logic_error);
    }
    const std::string whole = ReadFile(path);
    dir.Write("cut.ppm", whole.substr(0, whole.size() - 1));
    try {
        TPpmReader reader(dir.Path() + "cut.ppm");
        FAIL() << "a short file was taken";
    } catch (const THostError &e) {
        EXPECT_EQ(std::string(e.what()),
                  dir.Path() + "cut.ppm: truncated: 5999 of 6000 sample bytes");
    }
}

TEST(PpmFile, NamesAMissingFile) {
    TempDir dir;
    try {
        ReadPpm(dir.Path() + "absent.ppm");
        FAIL() << "a missing file was read";
    } catch (const THostError &e) {
        EXPECT_EQ(std::string(e.what()), dir.Path() + "absent.ppm: no such file");
    }
}

TEST(OutputFile, ReplacesAnExistingFileWhole) {
    TempDir dir;
    const std::string path = dir.Write("out.ppm", "old contents that are longer");
    WriteFileAtomically(path, "new");
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"out.ppm"}));
}

TEST(OutputFile, LeavesNothingBehindWhenItCannotWrite) {
    TempDir dir;
    const std::string missingFolder = dir.Path() + "no-such-folder" + "/out.ppm";
    try {
        WriteFileAtomically(missingFolder, "data");
        FAIL() << "wrote into a missing folder";
    } catch (const THostError &e) {
        EXPECT_EQ(std::string(e.what()), missingFolder + ": no such folder");
    }
    std::filesystem::create_directory(dir.Path() + "taken.ppm");
    EXPECT_THROW(WriteFileAtomically(dir.Path() + "taken.ppm", "data"), THostError);
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"taken.ppm"}));
    EXPECT_FALSE(FileExists(missingFolder));
}
