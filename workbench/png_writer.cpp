#include "workbench/png_writer.h"

#include <array>
#include <fstream>
#include <stdexcept>

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> CRC_TABLE = makeCrcTable();

// Deflate's LEN field is 16 bits wide.
constexpr std::size_t MAX_STORED_BLOCK = 0xFFFF;
// PNG keeps every length and dimension below 2^31.
constexpr std::uint64_t PNG_MAX_VALUE = 0x7FFFFFFFU;

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void appendChunk(std::vector<std::uint8_t>& out, const char (&type)[5],
                 std::span<const std::uint8_t> data) {
    if (data.size() > PNG_MAX_VALUE) throw std::invalid_argument("PNG chunk too large");
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    // The CRC covers the chunk type and its data, not the length.
    appendBigEndian(out, crc32(std::span(out).subspan(typeStart)));
}

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t c = 0xFFFFFFFFU;
    for (const std::uint8_t b : bytes) c = CRC_TABLE[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFU;
}

std::uint32_t adler32(std::span<const std::uint8_t> bytes) {
    constexpr std::uint32_t MOD = 65521;
    // 5552 bytes is the longest run whose sums cannot overflow 32 bits.
    constexpr std::size_t RUN = 5552;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    while (!bytes.empty()) {
        const std::size_t n = bytes.size() < RUN ? bytes.size() : RUN;
        for (const std::uint8_t value : bytes.first(n)) {
            a += value;
            b += a;
        }
        a %= MOD;
        b %= MOD;
        bytes = bytes.subspan(n);
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> zlibStored(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size() + bytes.size() / MAX_STORED_BLOCK * 5 + 11);
    // CM 8 (deflate), 32 KiB window; FLG makes the pair a multiple of 31.
    out.push_back(0x78);
    out.push_back(0x01);
    std::span<const std::uint8_t> rest = bytes;
    do {
        const std::size_t n = rest.size() < MAX_STORED_BLOCK ? rest.size() : MAX_STORED_BLOCK;
        const bool last = n == rest.size();
        out.push_back(last ? 0x01 : 0x00);  // BFINAL, BTYPE 00 (stored)
        const auto len = static_cast<std::uint16_t>(n);
        const auto nlen = static_cast<std::uint16_t>(~len);
        out.push_back(static_cast<std::uint8_t>(len));
        out.push_back(static_cast<std::uint8_t>(len >> 8));
        out.push_back(static_cast<std::uint8_t>(nlen));
        out.push_back(static_cast<std::uint8_t>(nlen >> 8));
        out.insert(out.end(), rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(n));
        rest = rest.subspan(n);
    } while (!rest.empty());
    appendBigEndian(out, adler32(bytes));
    return out;
}

std::vector<std::uint8_t> encodePng(std::uint32_t width, std::uint32_t height,
                                    std::span<const std::uint8_t> rgb) {
    if (width == 0 || height == 0 || width > PNG_MAX_VALUE || height > PNG_MAX_VALUE) {
        throw std::invalid_argument("PNG dimensions out of range");
    }
    const std::uint64_t rowBytes = std::uint64_t{width} * 3;
    const std::uint64_t expected = rowBytes * height;
    if (rgb.size() != expected) throw std::invalid_argument("pixel data does not match size");
    // Each row gains one filter byte; the whole must still fit memory on a 32-bit host.
    const std::uint64_t filtered = (rowBytes + 1) * height;
    if (filtered > PNG_MAX_VALUE) throw std::invalid_argument("image too large");

    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(filtered));
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type None
        const auto row =
            rgb.subspan(static_cast<std::size_t>(rowBytes * y), static_cast<std::size_t>(rowBytes));
        raw.insert(raw.end(), row.begin(), row.end());
    }

    std::vector<std::uint8_t> header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    // Bit depth 8, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlibStored(raw));
    appendChunk(png, "IEND", {});
    return png;
}

bool writeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}
