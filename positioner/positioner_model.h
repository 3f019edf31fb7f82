#pragma once

#include <bit>
#include <cstdint>
#include <string_view>

enum class PositionerModel { Stab, Moteck };

// Degrees per second, single precision: the drive-time estimate depends on the exact bits.
inline constexpr float STAB_SPEED = 0.8F;
inline constexpr float MOTECK_SPEED = 1.9F;
static_assert(std::bit_cast<std::uint32_t>(STAB_SPEED) == 0x3F4CCCCDU);
static_assert(std::bit_cast<std::uint32_t>(MOTECK_SPEED) == 0x3FF33333U);

// The text stored under "TYPE" in the settings file.
const char* settingsValue(PositionerModel model);
// How many satellite names the position pickers offer.
int storedPositions(PositionerModel model);
float speed(PositionerModel model);
// Only the exact Stab text selects the Stab; any other text, known or not, is a Moteck.
PositionerModel modelFromSettingsValue(std::string_view value);
