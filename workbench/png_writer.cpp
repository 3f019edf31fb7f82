#include "workbench/png_writer.h"

// zlib's input pointers are const.
#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace {

// zlib takes its lengths as 32-bit counts, also where std::size_t is wider.
constexpr std::size_t ZLIB_STEP = std::size_t{1} << 20;
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

// The pixels deflated at zlib's best level: a screenshot is written once and kept.
std::vector<std::uint8_t> zlibStream(std::span<const std::uint8_t> bytes) {
    z_stream stream{};
    if (deflateInit(&stream, Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("zlib cannot start");
    struct End {
        z_stream& stream;
        ~End() { deflateEnd(&stream); }
    } end{stream};
    std::vector<std::uint8_t> out;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (stream.avail_in == 0 && !bytes.empty()) {
            const auto piece = bytes.first(std::min(bytes.size(), ZLIB_STEP));
            stream.next_in = piece.data();
            stream.avail_in = static_cast<uInt>(piece.size());
            bytes = bytes.subspan(piece.size());
        }
        const std::size_t used = out.size();
        out.resize(used + ZLIB_STEP);
        stream.next_out = out.data() + used;
        stream.avail_out = static_cast<uInt>(ZLIB_STEP);
        status = deflate(&stream, bytes.empty() ? Z_FINISH : Z_NO_FLUSH);
        out.resize(used + ZLIB_STEP - stream.avail_out);
        if (status != Z_OK && status != Z_STREAM_END) throw std::runtime_error("zlib failed");
    }
    return out;
}

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    uLong crc = ::crc32(0L, Z_NULL, 0);
    // In pieces that zlib's lengths can hold.
    while (!bytes.empty()) {
        const auto piece = bytes.first(std::min(bytes.size(), ZLIB_STEP));
        crc = ::crc32(crc, piece.data(), static_cast<uInt>(piece.size()));
        bytes = bytes.subspan(piece.size());
    }
    return static_cast<std::uint32_t>(crc);
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
    appendChunk(png, "IDAT", zlibStream(raw));
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
