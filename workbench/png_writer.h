#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A PNG writer for screenshots: truecolour, 8 bits per channel, the pixels
// deflated by zlib at its best level, so that a screenshot of windows is small
// enough to keep.

std::uint32_t crc32(std::span<const std::uint8_t> bytes);

// `rgb` holds the rows top to bottom, three bytes (red, green, blue) per pixel
// and no padding. Throws std::invalid_argument when the size does not match or
// a dimension is zero or beyond what PNG allows.
std::vector<std::uint8_t> encodePng(std::uint32_t width, std::uint32_t height,
                                    std::span<const std::uint8_t> rgb);

// False when the file cannot be written completely.
bool writeFile(const std::string& path, std::span<const std::uint8_t> bytes);
