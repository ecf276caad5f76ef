// TFlashInfo on an in-memory file system: the frame rectangle decoded from the
// 17 bytes at offset 8, the open and read errors, and files that are not plain
// movies. Movies are built with a small bit writer so each case states its
// rectangle in twips rather than in opaque bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fakes/FakeFileSystem.h"
#include "common/Errors.h"
#include "saver/FlashInfo.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

// Writes fields most significant bit first, the order of the movie's RECT record.
class BitWriter {
public:
    void Put(std::uint32_t value, unsigned bits) {
        for (unsigned k = 0; k < bits; ++k) {
            const bool set = (value >> (bits - 1 - k)) & 1u;
            if (bitCount_ % 8 == 0)
                bytes_.push_back('\0');
            if (set)
                bytes_.back() =
                    static_cast<char>(static_cast<unsigned char>(bytes_.back()) | (0x80u >> (bitCount_ % 8)));
            ++bitCount_;
        }
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    unsigned bitCount_ = 0;
};

// The 8-byte file header ("FWS", version, length) followed by a RECT record,
// padded with zero bytes to 25 bytes, the shortest file the reader accepts.
std::string Movie(unsigned n, std::uint32_t xmin, std::uint32_t xmax, std::uint32_t ymin, std::uint32_t ymax) {
    BitWriter rect;
    rect.Put(n, 5);
    for (std::uint32_t field : {xmin, xmax, ymin, ymax})
        rect.Put(field, n);
    std::string movie = std::string("FWS\x06", 4) + std::string("\x19\x00\x00\x00", 4) + rect.Bytes();
    if (movie.size() < 25)
        movie.resize(25, '\0');
    return movie;
}

std::string Bytes(std::initializer_list<unsigned> values) {
    std::string s;
    for (unsigned v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

const std::string kPath = "C:\\Movies\\clip.swf";

struct FlashInfoFixture : ::testing::Test {
    FakeFileSystem files;
    TFlashInfo info{files};

    // Reads the header of a file holding content and returns {width, height}.
    std::pair<std::uint32_t, std::uint32_t> SizeOf(const std::string& content) {
        files.AddFile(kPath, content);
        const std::string header = info.ReadHeader(kPath);
        return {TFlashInfo::GetWidth(header), TFlashInfo::GetHeight(header)};
    }
};

} // namespace

TEST(FlashInfoBits, BitPositionsRunFromTheTopBitOfTheFirstByte) {
    const std::string buffer = Bytes({0x80, 0x01});
    EXPECT_TRUE(TFlashInfo::GetBit(buffer, 0));
    for (std::uint32_t p = 1; p < 15; ++p)
        EXPECT_FALSE(TFlashInfo::GetBit(buffer, p)) << "position " << p;
    EXPECT_TRUE(TFlashInfo::GetBit(buffer, 15));
}

TEST(FlashInfoBits, SetBitCountsFromTheLeastSignificantBit) {
    EXPECT_EQ(TFlashInfo::SetBit(0, 0), 1u);
    EXPECT_EQ(TFlashInfo::SetBit(0, 31), 0x80000000u);
    EXPECT_EQ(TFlashInfo::SetBit(0x10, 4), 0x10u);
    EXPECT_EQ(TFlashInfo::SetBit(0x10, 1), 0x12u);
}

TEST(FlashInfoBits, NbitsIsTheTopFiveBitsOfTheFirstByte) {
    EXPECT_EQ(TFlashInfo::GetNbits(Bytes({0x78})), 15u);
    EXPECT_EQ(TFlashInfo::GetNbits(Bytes({0x07})), 0u);
    EXPECT_EQ(TFlashInfo::GetNbits(Bytes({0xFF})), 31u);
}

TEST_F(FlashInfoFixture, WorkedExampleGives550By400) {
    // The bytes of a 550 x 400 movie exactly as a movie writer lays them out.
    std::string movie =
        std::string("FWS\x06\x19\x00\x00\x00", 8) + Bytes({0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00});
    movie.resize(25, '\0');
    files.AddFile(kPath, movie);
    const std::string header = info.ReadHeader(kPath);
    EXPECT_EQ(TFlashInfo::GetNbits(header), 15u);
    EXPECT_EQ(TFlashInfo::GetWidth(header), 550u);
    EXPECT_EQ(TFlashInfo::GetHeight(header), 400u);
    // The bit writer agrees with those bytes, so the other cases build on it safely.
    EXPECT_EQ(Movie(15, 0, 11000, 0, 8000), movie);
}

TEST_F(FlashInfoFixture, XminAndYminAreSkippedNotSubtracted) {
    std::string movie =
        std::string("FWS\x06\x19\x00\x00\x00", 8) + Bytes({0x78, 0x00, 0x15, 0x5F, 0x00, 0x00, 0x4F, 0xA0, 0x00});
    movie.resize(25, '\0');
    EXPECT_EQ(SizeOf(movie), std::make_pair(550u, 400u));
}

TEST_F(FlashInfoFixture, LargeOriginStillReadsOnlyTheFarEdges) {
    // A frame from (2000, 1000) to (12000, 9000) twips is 500 x 400 pixels wide,
    // but the reader reports the far edges: 600 x 450.
    EXPECT_EQ(SizeOf(Movie(16, 2000, 12000, 1000, 9000)), std::make_pair(600u, 450u));
}

TEST_F(FlashInfoFixture, TwipsAreDividedWithTheFractionDropped) {
    EXPECT_EQ(SizeOf(Movie(15, 0, 8019, 0, 8019)), std::make_pair(400u, 400u));
}

TEST_F(FlashInfoFixture, FieldWidthsAcrossTheWholeRange) {
    struct Case {
        unsigned n;
        std::uint32_t xmax, ymax, width, height;
    };
    const Case cases[] = {
        {1, 1, 1, 0, 0},                     // one-bit fields: at most one twip
        {5, 31, 20, 1, 1},                   // fields that end inside the first bytes
        {8, 255, 200, 12, 10},               // byte-long fields that start mid-byte
        {12, 4095, 4000, 204, 200},          // fields that straddle three bytes
        {20, 1048575, 640000, 52428, 32000}, // and the wider ones
        {24, 0xFFFFFF, 0x800000, 838860, 419430},
    };
    for (const Case& c : cases) {
        files.Remove(kPath);
        EXPECT_EQ(SizeOf(Movie(c.n, 0, c.xmax, 0, c.ymax)), std::make_pair(c.width, c.height)) << "n = " << c.n;
    }
}

TEST_F(FlashInfoFixture, ZeroBitFieldsGiveAnEmptyFrame) {
    // n = 0 even when every following bit is set: there are no field bits to read.
    std::string movie = std::string("FWS\x06\x19\x00\x00\x00", 8) + Bytes({0x07});
    movie.resize(25, '\xFF');
    EXPECT_EQ(SizeOf(movie), std::make_pair(0u, 0u));
}

TEST_F(FlashInfoFixture, ThirtyOneBitFieldsReachTheLargestSize) {
    const std::uint32_t kMax = 0x7FFFFFFF; // 2^31 - 1
    const std::string movie = Movie(31, kMax, kMax, kMax, kMax);
    ASSERT_EQ(movie.size(), 25u); // 129 bits fill all 17 bytes
    EXPECT_EQ(SizeOf(movie), std::make_pair(kMax / 20, kMax / 20));
}

TEST_F(FlashInfoFixture, ThirtyOneBitFieldsAreNotSignExtended) {
    // Top bit of the field set: read as 2^30, a positive number, not as negative.
    EXPECT_EQ(SizeOf(Movie(31, 0, 0x40000000, 0, 0x40000014)), std::make_pair(0x40000000u / 20, 0x40000014u / 20));
}

TEST_F(FlashInfoFixture, ReadsExactlySeventeenBytesAtOffsetEight) {
    std::string movie;
    for (int i = 0; i < 300; ++i)
        movie.push_back(static_cast<char>(i * 7 + 3));
    files.AddFile(kPath, movie);
    EXPECT_EQ(info.ReadHeader(kPath), movie.substr(8, 17));
}

TEST_F(FlashInfoFixture, TwentyFiveByteFileIsEnough) {
    const std::string movie = Movie(15, 0, 11000, 0, 8000);
    ASSERT_EQ(movie.size(), 25u);
    EXPECT_EQ(SizeOf(movie), std::make_pair(550u, 400u));
}

TEST_F(FlashInfoFixture, TwentyFourByteFileIsAReadError) {
    // The rectangle itself fits in the 16 bytes after offset 8, but the reader
    // always wants 17.
    std::string movie = Movie(15, 0, 11000, 0, 8000);
    movie.resize(24);
    files.AddFile(kPath, movie);
    try {
        info.ReadHeader(kPath);
        FAIL() << "a 24-byte file was read";
    } catch (const EReadError& error) {
        EXPECT_EQ(error.Message(), "Stream read error");
        EXPECT_EQ(error.ClassName(), "EReadError");
    }
}

TEST_F(FlashInfoFixture, FilesShorterThanTheOffsetAreReadErrors) {
    for (std::size_t size : {0u, 1u, 8u, 9u}) {
        files.Remove(kPath);
        files.AddFile(kPath, std::string(size, 'F'));
        EXPECT_THROW(info.ReadHeader(kPath), EReadError) << size << " bytes";
    }
}

TEST_F(FlashInfoFixture, MissingFileIsAnOpenErrorNamingThePath) {
    try {
        info.ReadHeader("D:\\Gone\\movie.swf");
        FAIL() << "a missing file was opened";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.Message(), "Cannot open file D:\\Gone\\movie.swf");
        EXPECT_EQ(error.ClassName(), "EFOpenError");
    }
}

TEST_F(FlashInfoFixture, FolderCannotBeOpenedAsAMovie) {
    files.AddFolder("C:\\Movies\\folder.swf");
    EXPECT_THROW(info.ReadHeader("C:\\Movies\\folder.swf"), EFOpenError);
}

TEST_F(FlashInfoFixture, CompressedMovieIsDecodedAsIfItWereARectangle) {
    // "CWS": zlib data from offset 8 (78 9C ...). n = 0x78 >> 3 = 15; Xmax is
    // bits 20..34, the low nibble of 0E, all of 00 and the top three bits of 31:
    // 1110 00000000 001 = 0x7001 = 28673 twips -> 1433; Ymax (bits 50..64) is zero.
    std::string movie =
        std::string("CWS\x0A\x00\x10\x00\x00", 8) + Bytes({0x78, 0x9C, 0x0E, 0x00, 0x31, 0x00, 0x00, 0x00, 0x00});
    movie.resize(40, '\0');
    std::pair<std::uint32_t, std::uint32_t> size;
    EXPECT_NO_THROW(size = SizeOf(movie));
    EXPECT_EQ(size, std::make_pair(1433u, 0u));
}

TEST_F(FlashInfoFixture, AnyOtherFileIsDecodedWithoutError) {
    // A text file: offset 8 starts at "a plain text file" ('a' = 0x61, n = 12).
    const std::string text = "This is a plain text file, not a movie at all.";
    files.AddFile(kPath, text);
    std::string header;
    ASSERT_NO_THROW(header = info.ReadHeader(kPath));
    EXPECT_EQ(TFlashInfo::GetNbits(header), 12u);
    // Xmax, bits 17..28: the low 7 bits of 'p' and the top 5 of 'l' = 0xE0D = 3597.
    // Ymax, bits 41..52: the low 7 bits of 'i' and the top 5 of 'n' = 0xD2D = 3373.
    EXPECT_EQ(TFlashInfo::GetWidth(header), 179u);
    EXPECT_EQ(TFlashInfo::GetHeight(header), 168u);
}
