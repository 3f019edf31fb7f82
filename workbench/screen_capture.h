#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ScreenImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgb;  // rows top to bottom, three bytes per pixel
};

// The whole virtual screen as it is now, or nothing with `error` set.
std::optional<ScreenImage> captureScreen(std::string& error);
