#pragma once

#include <cstdint>
#include <vector>

#include "ico_writer.h"

// Which palette entry paints which part of the dish, so one drawing serves both bit depths.
struct DishColours {
    std::uint8_t outline;
    std::uint8_t shellDark;
    std::uint8_t shellLight;
    std::uint8_t rim;
    std::vector<std::uint8_t> bowl;  // dark to light
    std::uint8_t mast;
    std::uint8_t mastLight;
    std::uint8_t foot;
    std::uint8_t motor;
    std::uint8_t motorLight;
    std::uint8_t arm;
    std::uint8_t lnb;
    std::uint8_t lnbLight;
};

// The sixteen colours every Windows display has, in their usual order.
std::vector<Rgb> vgaPalette();
DishColours vgaDishColours();

// 256 entries: the VGA colours first, then the shading ramps of the turning-dish frames.
std::vector<Rgb> shadedPalette();
DishColours shadedDishColours();
