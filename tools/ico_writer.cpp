#include "ico_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>

namespace {

constexpr std::size_t kIconDirSize = 6;
constexpr std::size_t kDirEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;

void putU8(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
}

void putU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    putU8(out, value);
    putU8(out, value >> 8);
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    putU16(out, value & 0xFFFFu);
    putU16(out, value >> 16);
}

// Bitmap rows are padded to whole 32-bit words.
std::size_t rowBytes(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

std::size_t paletteBytes(const IconImage& image) {
    return image.palette.size() * 4;
}
std::size_t xorBytes(const IconImage& image) {
    return rowBytes(image.width, image.bitsPerPixel) * static_cast<std::size_t>(image.height);
}
std::size_t andBytes(const IconImage& image) {
    return rowBytes(image.width, 1) * static_cast<std::size_t>(image.height);
}
std::size_t imageBytes(const IconImage& image) {
    return kInfoHeaderSize + paletteBytes(image) + xorBytes(image) + andBytes(image);
}

void validate(const IconImage& image) {
    if (image.width < 1 || image.width > 256 || image.height < 1 || image.height > 256) {
        throw std::invalid_argument("icon image size must be 1 to 256 pixels");
    }
    if (image.bitsPerPixel != 4 && image.bitsPerPixel != 8) {
        throw std::invalid_argument("icon image must have 4 or 8 bits per pixel");
    }
    if (image.palette.size() != (std::size_t{1} << image.bitsPerPixel)) {
        throw std::invalid_argument("palette size must match the bit depth");
    }
    const std::size_t count =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (image.pixels.size() != count || image.opaque.size() != count) {
        throw std::invalid_argument("pixel or mask count does not match the image size");
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (image.pixels[i] >= image.palette.size()) {
            throw std::invalid_argument("pixel refers past the end of the palette");
        }
    }
    // Transparent pixels are written as index 0; where the mask lets the screen through, the
    // colour is XORed onto it, so anything but black would tint the background.
    const Rgb first = image.palette.front();
    if (first.red != 0 || first.green != 0 || first.blue != 0) {
        throw std::invalid_argument("palette entry 0 must be black");
    }
}

void putImage(std::vector<std::uint8_t>& out, const IconImage& image) {
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<std::uint32_t>(image.width));
    // The height covers the colour bitmap and the mask stacked on top of each other.
    putU32(out, static_cast<std::uint32_t>(image.height) * 2);
    putU16(out, 1);
    putU16(out, static_cast<std::uint32_t>(image.bitsPerPixel));
    putU32(out, 0);  // uncompressed
    putU32(out, static_cast<std::uint32_t>(xorBytes(image) + andBytes(image)));
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);  // the full palette of the bit depth follows
    putU32(out, 0);

    for (const Rgb& colour : image.palette) {
        putU8(out, colour.blue);
        putU8(out, colour.green);
        putU8(out, colour.red);
        putU8(out, 0);
    }

    const auto at = [&image](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
               static_cast<std::size_t>(x);
    };

    const std::size_t colourRow = rowBytes(image.width, image.bitsPerPixel);
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourRow, 0);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t value = image.opaque[at(x, y)] ? image.pixels[at(x, y)] : 0;
            if (image.bitsPerPixel == 8) {
                row[static_cast<std::size_t>(x)] = value;
            } else {
                const int shift = (x % 2 == 0) ? 4 : 0;  // leftmost pixel in the high nibble
                row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(value << shift);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }

    const std::size_t maskRow = rowBytes(image.width, 1);
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRow, 0);
        for (int x = 0; x < image.width; ++x) {
            if (!image.opaque[at(x, y)]) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

}  // namespace

std::vector<std::uint8_t> encodeIconFile(std::span<const IconImage> images) {
    if (images.empty() || images.size() > 0xFFFF) {
        throw std::invalid_argument("an icon file holds 1 to 65535 images");
    }
    for (const IconImage& image : images) validate(image);

    std::vector<std::uint8_t> out;
    putU16(out, 0);
    putU16(out, 1);  // resource type: icon
    putU16(out, static_cast<std::uint32_t>(images.size()));

    std::size_t offset = kIconDirSize + kDirEntrySize * images.size();
    for (const IconImage& image : images) {
        // A byte of 0 stands for 256 in the directory's width, height and colour count.
        putU8(out, static_cast<std::uint32_t>(image.width % 256));
        putU8(out, static_cast<std::uint32_t>(image.height % 256));
        putU8(out, static_cast<std::uint32_t>(image.palette.size() % 256));
        putU8(out, 0);
        putU16(out, 1);
        putU16(out, static_cast<std::uint32_t>(image.bitsPerPixel));
        putU32(out, static_cast<std::uint32_t>(imageBytes(image)));
        putU32(out, static_cast<std::uint32_t>(offset));
        offset += imageBytes(image);
    }
    for (const IconImage& image : images) putImage(out, image);
    return out;
}

void writeFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    const auto failure = [&path](const std::string& what, int error) {
        return std::runtime_error(path.string() + ": " + what + ": " + std::strerror(error));
    };

    std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
    if (file == nullptr) throw failure("cannot create", errno);
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    const int writeError = errno;
    const bool flushed = std::fflush(file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeError = errno;
    if (written != bytes.size() || !flushed || !closed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        const int error = written != bytes.size() ? writeError : !flushed ? flushError : closeError;
        throw failure("cannot write", error);
    }

    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error(path.string() + ": cannot replace: " + renameError.message());
    }
}
