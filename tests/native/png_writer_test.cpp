#include "workbench/png_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// Every byte value, over and over.
Bytes longPattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

std::uint32_t bigEndianAt(const Bytes& bytes, std::size_t at) {
    return (std::uint32_t{bytes.at(at)} << 24) | (std::uint32_t{bytes.at(at + 1)} << 16) |
           (std::uint32_t{bytes.at(at + 2)} << 8) | bytes.at(at + 3);
}

// Reads back any zlib stream whose content is `size` bytes long.
Bytes inflateAll(const Bytes& stream, std::size_t size) {
    Bytes out(size + 1);
    uLongf length = static_cast<uLongf>(out.size());
    EXPECT_EQ(uncompress(out.data(), &length, stream.data(), static_cast<uLong>(stream.size())),
              Z_OK);
    out.resize(length);
    return out;
}

struct Chunk {
    std::string type;
    Bytes data;
};

std::vector<Chunk> readChunks(const Bytes& png) {
    const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(png.size() >= 8 && Bytes(png.begin(), png.begin() + 8) == signature);
    std::vector<Chunk> chunks;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = bigEndianAt(png, at);
        if (at + 12 + length > png.size()) break;
        const auto typeAndData = std::span(png).subspan(at + 4, length + 4);
        EXPECT_EQ(bigEndianAt(png, at + 8 + length), crc32(typeAndData));
        Chunk chunk{std::string(typeAndData.begin(), typeAndData.begin() + 4),
                    Bytes(typeAndData.begin() + 4, typeAndData.end())};
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size()) << "trailing bytes after the last chunk";
    return chunks;
}

TEST(PngChecksums, MatchPublishedValues) {
    struct Case {
        const char* name;
        Bytes input;
        std::uint32_t crc;
    };
    const Case cases[] = {
        {"empty", {}, 0x00000000U},
        {"IEND chunk type", bytesOf("IEND"), 0xAE426082U},
        {"check string", bytesOf("123456789"), 0xCBF43926U},
        {"Wikipedia", bytesOf("Wikipedia"), 0xADAAC02EU},
        {"76800 bytes", longPattern(76800), 0xBB9CF916U},
    };
    for (const Case& c : cases) EXPECT_EQ(crc32(c.input), c.crc) << c.name;
}

TEST(EncodePng, TwoByTwoImageDecodesBack) {
    // red, green / blue, white
    const Bytes rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const std::vector<Chunk> chunks = readChunks(encodePng(2, 2, rgb));
    ASSERT_EQ(chunks.size(), 3U);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[0].data, (Bytes{0, 0, 0, 2, 0, 0, 0, 2, 8, 2, 0, 0, 0}));
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");
    EXPECT_TRUE(chunks[2].data.empty());
    const Bytes expectedRows = {0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255};
    EXPECT_EQ(inflateAll(chunks[1].data, expectedRows.size()), expectedRows);
}

TEST(EncodePng, RowsLargerThanOneBlockKeepTheirOrder) {
    constexpr std::uint32_t width = 200;
    constexpr std::uint32_t height = 120;  // 72120 bytes with filter bytes: two blocks
    const Bytes rgb = longPattern(std::size_t{width} * height * 3);
    const std::vector<Chunk> chunks = readChunks(encodePng(width, height, rgb));
    ASSERT_EQ(chunks.size(), 3U);
    const Bytes raw = inflateAll(chunks[1].data, (width * 3 + 1) * height);
    ASSERT_EQ(raw.size(), (width * 3 + 1) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::size_t rowStart = y * (width * 3 + 1);
        ASSERT_EQ(raw[rowStart], 0) << "filter byte of row " << y;
        ASSERT_TRUE(std::equal(rgb.begin() + y * width * 3, rgb.begin() + (y + 1) * width * 3,
                               raw.begin() + static_cast<std::ptrdiff_t>(rowStart + 1)))
            << "row " << y;
    }
}

TEST(EncodePng, ScreenOfWindowsComesOutSmall) {
    // A screen's worth of flat window background with a band of text-like noise.
    constexpr std::uint32_t width = 1280;
    constexpr std::uint32_t height = 1024;
    Bytes rgb(std::size_t{width} * height * 3, 0xF0);
    std::uint32_t noise = 1;
    for (std::size_t i = 0; i < std::size_t{width} * 40 * 3; ++i) {
        noise = noise * 1103515245U + 12345U;
        rgb[i] = static_cast<std::uint8_t>(noise >> 24);
    }
    const Bytes png = encodePng(width, height, rgb);
    const std::vector<Chunk> chunks = readChunks(png);
    ASSERT_EQ(chunks.size(), 3U);
    // The noise alone cannot be compressed below its 150 KB; the rest must nearly vanish.
    EXPECT_LT(png.size(), 200'000U);
    const Bytes raw = inflateAll(chunks[1].data, (width * 3 + 1) * height);
    ASSERT_EQ(raw.size(), (width * 3 + 1) * height);
    EXPECT_TRUE(std::equal(rgb.end() - width * 3, rgb.end(), raw.end() - width * 3)) << "last row";
}

TEST(EncodePng, RefusesPixelDataThatDoesNotFit) {
    struct Case {
        std::uint32_t width;
        std::uint32_t height;
        std::size_t bytes;
    };
    const Case cases[] = {
        {2, 2, 11},
        {2, 2, 13},
        {0, 2, 0},
        {2, 0, 0},
        {0x80000000U, 1, 0},
        // width * height * 3 wraps around in 32 bits to 2 bytes
        {0x55555556U, 1, 2},
    };
    for (const Case& c : cases) {
        const Bytes rgb(c.bytes);
        EXPECT_THROW(encodePng(c.width, c.height, rgb), std::invalid_argument)
            << c.width << "x" << c.height << " with " << c.bytes << " bytes";
    }
}

}  // namespace
