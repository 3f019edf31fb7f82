#include "positioner/usals.h"

#include <cctype>
#include <cmath>
#include <numbers>

#include "positioner/decimal_text.h"

namespace {

constexpr double EARTH_RADIUS_KM = 6378.14;
constexpr double ORBIT_RADIUS_KM = 42164.2;
constexpr unsigned char DEGREE_SIGN = 0xB0;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

// -180 up to 180.
double wrapLongitude(double longitude) {
    double wrapped = std::fmod(longitude, 360.0);
    if (wrapped > 180.0) wrapped -= 360.0;
    if (wrapped <= -180.0) wrapped += 360.0;
    return wrapped;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

SatelliteLook lookAt(const Site& site, double satelliteLongitude) {
    const double delta = radians(wrapLongitude(satelliteLongitude - site.longitude));
    const double latitude = radians(site.latitude);
    // The way from the site to the satellite in the site's east, north and up, with the site's
    // meridian as the reference, so that only the difference in longitude counts. The hour angle
    // is that way seen in the equator's plane.
    const double toX = ORBIT_RADIUS_KM * std::cos(delta) - EARTH_RADIUS_KM * std::cos(latitude);
    const double toY = ORBIT_RADIUS_KM * std::sin(delta);
    const double toZ = -EARTH_RADIUS_KM * std::sin(latitude);
    const double east = toY;
    const double north = -std::sin(latitude) * toX + std::cos(latitude) * toZ;
    const double up = std::cos(latitude) * toX + std::sin(latitude) * toZ;
    SatelliteLook look;
    look.hourAngle = degrees(std::atan2(toY, toX));
    look.motorAngle = site.latitude >= 0.0 ? look.hourAngle : -look.hourAngle;
    look.elevation = degrees(std::atan2(up, std::hypot(east, north)));
    double azimuth = degrees(std::atan2(east, north));
    if (azimuth < 0.0) azimuth += 360.0;
    look.azimuth = azimuth;
    return look;
}

double satelliteLongitudeAt(const Site& site, double motorAngle) {
    const double hourAngle = radians(site.latitude >= 0.0 ? motorAngle : -motorAngle);
    const double ratio = EARTH_RADIUS_KM * std::cos(radians(site.latitude)) / ORBIT_RADIUS_KM;
    const double delta = hourAngle - std::asin(ratio * std::sin(hourAngle));
    return wrapLongitude(site.longitude + degrees(delta));
}

std::optional<std::array<std::uint8_t, 2>> gotoAngleData(double motorAngle) {
    if (!std::isfinite(motorAngle)) return std::nullopt;
    const long tenths = std::lround(std::fabs(motorAngle) * 10.0);
    if (tenths >= 2560) return std::nullopt;
    const auto whole = static_cast<unsigned>(tenths / 10);
    const auto tenth = static_cast<unsigned>(tenths % 10);
    // An angle that rounds to zero turns nowhere; it keeps the east prefix whatever its sign.
    const std::uint8_t prefix = motorAngle < 0.0 && tenths != 0 ? GOTO_ANGLE_WEST : GOTO_ANGLE_EAST;
    return std::array<std::uint8_t, 2>{
        static_cast<std::uint8_t>(prefix | (whole >> 4)),
        static_cast<std::uint8_t>(((whole & 0x0FU) << 4) | GOTO_ANGLE_TENTHS[tenth])};
}

std::optional<double> orbitalPosition(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1])) --end;
    if (end == 0) return std::nullopt;
    const char side = static_cast<char>(std::toupper(static_cast<unsigned char>(text[end - 1])));
    if (side != 'E' && side != 'W') return std::nullopt;
    --end;
    while (end > 0 && isBlank(text[end - 1])) --end;
    if (end > 0 && static_cast<unsigned char>(text[end - 1]) == DEGREE_SIGN) --end;
    while (end > 0 && isBlank(text[end - 1])) --end;
    const std::size_t numberEnd = end;
    while (end > 0 &&
           (std::isdigit(static_cast<unsigned char>(text[end - 1])) != 0 || text[end - 1] == '.')) {
        --end;
    }
    // A position stands alone: "F4 7°E" is 7 degrees, "SES5°E" is no position at all.
    if (end > 0 && !isBlank(text[end - 1])) return std::nullopt;
    const std::string_view number = text.substr(end, numberEnd - end);
    const std::optional<double> value = decimalNumber(number);
    if (!value || *value > 180.0) return std::nullopt;
    return side == 'E' ? *value : -*value;
}
