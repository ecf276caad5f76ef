// TFlashInfo on an in-memory file system: the frame size read from hand-built
// movie headers (field widths from 0 to 31 bits, a compressed movie, a file that
// is no movie), and the open and read errors of missing, unopenable and short
// files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "common/Errors.h"
#include "fakes/FakeFileSystem.h"
#include "saver/FlashInfo.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

const std::string kPath = "C:\\Movies\\clip.swf";

// A movie file: the signature with version 6 and a length (8 bytes), then the
// frame rectangle's bytes as a movie writer lays them out, then fill up to size.
std::string Movie(std::initializer_list<unsigned> rect, const char* signature = "FWS", char fill = '\0',
                  std::size_t size = 25) {
    std::string movie = std::string(signature) + std::string("\x06\x19\x00\x00\x00", 5);
    for (unsigned byte : rect)
        movie.push_back(static_cast<char>(byte));
    movie.resize(std::max(size, movie.size()), fill);
    return movie;
}

const std::string k550x400 = Movie({0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00});

} // namespace

// Each header is written out by hand, with the rectangle it holds in twips; the
// reader reports the far edges in pixels (twips / 20, the fraction dropped) and
// skips the near ones.
TEST(FlashInfoSize, FrameSizesOfHandBuiltHeaders) {
    const struct {
        const char* what;
        std::string file;
        std::uint32_t width, height;
    } cases[] = {
        {"15 bits, (0, 0)-(11000, 8000), 25 bytes in all", k550x400, 550, 400},
        {"anything after the rectangle",
         Movie({0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00}, "FWS", '\xFF', 300), 550, 400},
        {"near edges (32, 512) are not subtracted", Movie({0x78, 0x02, 0x05, 0x5F, 0x00, 0x80, 0x0F, 0xA0, 0x00}), 550,
         400},
        {"16 bits, (0, 0)-(20480, 15360)", Movie({0x80, 0x00, 0x02, 0x80, 0x00, 0x00, 0x01, 0xE0, 0x00}), 1024, 768},
        {"16 bits, (2000, 1000)-(12000, 9000)", Movie({0x80, 0x3E, 0x81, 0x77, 0x00, 0x1F, 0x41, 0x19, 0x40}), 600,
         450},
        {"8019 twips drop their fraction", Movie({0x78, 0x00, 0x03, 0xEA, 0x60, 0x00, 0x0F, 0xA9, 0x80}), 400, 400},
        {"0 bits, every later bit set", Movie({0x07}, "FWS", '\xFF'), 0, 0},
        {"1 bit, (1, 1)-(1, 1)", Movie({0x0F, 0x80}), 0, 0},
        {"5 bits, (0, 0)-(31, 20)", Movie({0x28, 0x3E, 0x0A, 0x00}), 1, 1},
        {"7 bits, (0, 0)-(127, 100)", Movie({0x38, 0x0F, 0xE0, 0x32, 0x00}), 6, 5},
        {"12 bits, (0, 0)-(4095, 4000)", Movie({0x60, 0x00, 0x7F, 0xF8, 0x00, 0x7D, 0x00}), 204, 200},
        {"13 bits, (0, 0)-(8191, 4181)", Movie({0x68, 0x00, 0x3F, 0xFE, 0x00, 0x08, 0x2A, 0x80}), 409, 209},
        {"20 bits, (0, 0)-(1048575, 640000)", Movie({0xA0, 0x00, 0x00, 0x7F, 0xFF, 0xF8, 0x00, 0x00, 0x4E, 0x20, 0x00}),
         52428, 32000},
        {"24 bits, (0, 0)-(16777215, 8388608)",
         Movie({0xC0, 0x00, 0x00, 0x07, 0xFF, 0xFF, 0xF8, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00}), 838860, 419430},
        // 129 bits: the last bit of the height is the top bit of the 17th byte.
        {"31 bits, every field 2^31 - 1",
         Movie({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80}),
         107374182, 107374182},
        {"31 bits, top bit set: not negative",
         Movie({0xF8, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x0A, 0x00}),
         53687091, 53687092},
        // zlib data from offset 8 (78 9C ...), read as if it were a rectangle:
        // 15 bits, the far x edge 0x7001 twips, the far y edge 0.
        {"compressed", Movie({0x78, 0x9C, 0x0E, 0x00, 0x31}, "CWS", '\0', 40), 1433, 0},
        // 'a' = 0x61: 12 bits; the far x edge 0xE0D, the far y edge 0xD2D.
        {"a text file", "This is a plain text file, not a movie at all.", 179, 168},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeFileSystem files;
        files.AddFile(kPath, c.file);
        TFlashInfo info(files);
        std::string header;
        ASSERT_NO_THROW(header = info.ReadHeader(kPath));
        EXPECT_EQ(TFlashInfo::GetWidth(header), c.width);
        EXPECT_EQ(TFlashInfo::GetHeight(header), c.height);
    }
}

// The reader always wants the 17 bytes after offset 8, even where the rectangle
// ends sooner.
TEST(FlashInfoSize, ShortFilesAreReadErrors) {
    for (const std::size_t size : {0u, 1u, 8u, 9u, 24u}) {
        SCOPED_TRACE(testing::Message() << size << " bytes");
        FakeFileSystem files;
        files.AddFile(kPath, k550x400.substr(0, size));
        TFlashInfo info(files);
        try {
            info.ReadHeader(kPath);
            ADD_FAILURE() << "read";
        } catch (const EReadError& error) {
            EXPECT_EQ(error.Message(), "Stream read error");
            EXPECT_EQ(error.ClassName(), "EReadError");
        }
    }
}

TEST(FlashInfoSize, MissingFilesAndFoldersAreOpenErrorsNamingThePath) {
    FakeFileSystem files;
    files.AddFolder("C:\\Movies\\folder.swf");
    TFlashInfo info(files);
    for (const std::string path : {"D:\\Gone\\movie.swf", "C:\\Movies\\folder.swf"}) {
        try {
            info.ReadHeader(path);
            ADD_FAILURE() << path << " was opened";
        } catch (const EFOpenError& error) {
            EXPECT_EQ(error.Message(), "Cannot open file " + path);
            EXPECT_EQ(error.ClassName(), "EFOpenError");
        }
    }
}
