#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// One image of an icon group, rows top-down as it was drawn; the encoder turns it bottom-up.
struct IconImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;              // 4 or 8
    std::vector<Rgb> palette;          // exactly 2^bitsPerPixel entries
    std::vector<std::uint8_t> pixels;  // palette index per pixel
    std::vector<bool> opaque;          // false where the background shows through
};

// Builds a complete .ico file. Throws std::invalid_argument for an image that no icon reader
// would accept, rather than writing a file that loads as garbage.
std::vector<std::uint8_t> encodeIconFile(std::span<const IconImage> images);

// Writes through a temporary file beside the target and renames it into place, so an I/O
// failure never leaves a truncated icon behind. Throws std::runtime_error naming the path.
void writeFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
