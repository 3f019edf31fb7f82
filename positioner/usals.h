#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// Pointing a polar-mounted dish at a geostationary satellite from the site's
// latitude and longitude alone ("goto angle", command 6E).

// The goto-angle command's first data byte starts with the direction.
inline constexpr std::uint8_t GOTO_ANGLE_EAST = 0xE0;
inline constexpr std::uint8_t GOTO_ANGLE_WEST = 0xD0;
// Tenths of a degree as the sixteenths that the second data byte carries.
inline constexpr std::array<std::uint8_t, 10> GOTO_ANGLE_TENTHS{0x0, 0x2, 0x3, 0x5, 0x6,
                                                                0x8, 0xA, 0xB, 0xD, 0xE};

// Degrees; north and east positive.
struct Site {
    double latitude = 0.0;
    double longitude = 0.0;
};

struct SatelliteLook {
    // The polar mount's hour angle: positive when the satellite lies east of the site.
    double hourAngle = 0.0;
    // The angle that the goto-angle command carries: positive is the E0 prefix. The hour angle
    // in the north; turned round in the south, where the dish looks north.
    double motorAngle = 0.0;
    // Degrees from north through east, 0 up to 360.
    double azimuth = 0.0;
    // Degrees above the horizon; negative when the earth is in the way.
    double elevation = 0.0;

    bool aboveHorizon() const { return elevation >= 0.0; }
};

SatelliteLook lookAt(const Site& site, double satelliteLongitude);

// The satellite longitude (east positive, -180 up to 180) that a motor angle of the goto-angle
// command points at from the site: lookAt's motor angle turned back.
double satelliteLongitudeAt(const Site& site, double motorAngle);

// The two data bytes of the goto-angle command: the angle rounded to tenths, whole degrees in
// the low nibble of the first byte and the high nibble of the second, the tenth as sixteenths in
// the second's low nibble. Angles of 256 degrees or more do not fit and give nothing.
std::optional<std::array<std::uint8_t, 2>> gotoAngleData(double motorAngle);

// The orbital position at the end of a text such as "19.2E", "30 W" or the satellite name
// "Astra 19.2\xB0E" (Windows-1252 degree sign): east positive. Nothing when the text does not end
// in one or it lies beyond 180 degrees.
std::optional<double> orbitalPosition(std::string_view text);
