#include "palettes.h"

#include <cstddef>

namespace {

constexpr std::uint8_t kBowlFirst = 16;
constexpr std::uint8_t kBowlCount = 24;
constexpr std::uint8_t kShellDark = kBowlFirst + kBowlCount;
constexpr std::uint8_t kShellLight = kShellDark + 1;
constexpr std::uint8_t kRim = kShellDark + 2;
constexpr std::uint8_t kMast = kShellDark + 3;
constexpr std::uint8_t kMastLight = kShellDark + 4;
constexpr std::uint8_t kFoot = kShellDark + 5;
constexpr std::uint8_t kMotor = kShellDark + 6;
constexpr std::uint8_t kMotorLight = kShellDark + 7;
constexpr std::uint8_t kArm = kShellDark + 8;
constexpr std::uint8_t kLnb = kShellDark + 9;
constexpr std::uint8_t kLnbLight = kShellDark + 10;
constexpr std::uint8_t kOutline = kShellDark + 11;

std::uint8_t blend(int from, int to, double t) {
    return static_cast<std::uint8_t>(from + (to - from) * t + 0.5);
}

}  // namespace

std::vector<Rgb> vgaPalette() {
    return {
        {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
        {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xC0, 0xC0, 0xC0},
        {0x80, 0x80, 0x80}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
        {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF},
    };
}

DishColours vgaDishColours() {
    constexpr std::uint8_t black = 0;
    constexpr std::uint8_t navy = 4;
    constexpr std::uint8_t silver = 7;
    constexpr std::uint8_t grey = 8;
    constexpr std::uint8_t white = 15;
    return {.outline = black,
            .shellDark = grey,
            .shellLight = grey,
            .rim = grey,
            .bowl = {silver, silver, white},
            .mast = grey,
            .mastLight = silver,
            .foot = grey,
            .motor = grey,
            .motorLight = silver,
            .arm = grey,
            .lnb = navy,
            .lnbLight = silver};
}

std::vector<Rgb> shadedPalette() {
    std::vector<Rgb> palette = vgaPalette();
    palette.resize(256, Rgb{0, 0, 0});
    // A cool metallic ramp for the inside of the dish, from shadow to glare.
    for (std::uint8_t i = 0; i < kBowlCount; ++i) {
        const double t = static_cast<double>(i) / (kBowlCount - 1);
        palette[kBowlFirst + i] = {blend(0x5A, 0xF4, t), blend(0x62, 0xF6, t),
                                   blend(0x72, 0xFF, t)};
    }
    palette[kShellDark] = {0x4E, 0x55, 0x60};
    palette[kShellLight] = {0x8A, 0x92, 0x9E};
    palette[kRim] = {0x3A, 0x40, 0x4A};
    palette[kMast] = {0x6E, 0x6A, 0x64};
    palette[kMastLight] = {0xB4, 0xAE, 0xA4};
    palette[kFoot] = {0x48, 0x44, 0x40};
    palette[kMotor] = {0x5C, 0x5C, 0x5C};
    palette[kMotorLight] = {0x9C, 0x9C, 0x9C};
    palette[kArm] = {0x2C, 0x30, 0x38};
    palette[kLnb] = {0x1E, 0x50, 0xA8};
    palette[kLnbLight] = {0x7C, 0xAE, 0xF0};
    palette[kOutline] = {0x18, 0x1A, 0x20};
    return palette;
}

DishColours shadedDishColours() {
    std::vector<std::uint8_t> bowl;
    for (std::uint8_t i = 0; i < kBowlCount; ++i) bowl.push_back(kBowlFirst + i);
    return {.outline = kOutline,
            .shellDark = kShellDark,
            .shellLight = kShellLight,
            .rim = kRim,
            .bowl = bowl,
            .mast = kMast,
            .mastLight = kMastLight,
            .foot = kFoot,
            .motor = kMotor,
            .motorLight = kMotorLight,
            .arm = kArm,
            .lnb = kLnb,
            .lnbLight = kLnbLight};
}
