// Feeds arbitrary text to the readers of the degree fields (the site's latitude and longitude,
// the motor angle, the drive fields) and follows an accepted value to where it goes: the settings
// file keeps it to one decimal, and a motor angle becomes the goto-angle command's bytes.

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "positioner/decimal_text.h"
#include "positioner/usals.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// The angle that the goto-angle bytes carry, in signed tenths of a degree.
long tenthsSent(const std::array<std::uint8_t, 2>& data) {
    const long whole = ((data[0] & 0x0FL) << 4) | (data[1] >> 4);
    const auto* tenth =
        std::find(GOTO_ANGLE_TENTHS.begin(), GOTO_ANGLE_TENTHS.end(), data[1] & 0x0F);
    check(tenth != GOTO_ANGLE_TENTHS.end(), "the tenth is one of the ten sixteenths");
    const long tenths = whole * 10 + (tenth - GOTO_ANGLE_TENTHS.begin());
    check((data[0] & 0xF0) == GOTO_ANGLE_EAST || (data[0] & 0xF0) == GOTO_ANGLE_WEST,
          "the first byte starts with a direction");
    return (data[0] & 0xF0) == GOTO_ANGLE_WEST ? -tenths : tenths;
}

void checkTarget(const Site& site, double motorAngle) {
    const double satellite = satelliteLongitudeAt(site, motorAngle);
    check(std::isfinite(satellite) && satellite >= -180.0 && satellite <= 180.0,
          "the angle's satellite is a longitude");
    const SatelliteLook look = lookAt(site, satellite);
    // Due north may come out as 360 degrees as well as 0.
    check(look.elevation >= -90.0 && look.elevation <= 90.0 && look.azimuth >= 0.0 &&
              look.azimuth <= 360.0,
          "the satellite's look is a direction");
    // The window shows the satellite that the angle points at: it is the same angle turned back.
    const double turn = std::remainder(look.motorAngle - motorAngle, 360.0);
    check(std::fabs(turn) < 1e-6, "the angle's satellite is looked at with that angle");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = textOf(data, size);
    // The drive fields: whatever was typed, the field then shows a count the spin can take.
    const int driven = nearestWholeNumber(text, 0, 19, 7);
    check(driven >= 0 && driven <= 19, "a drive field is corrected to a count in range");
    check(decimalNumber(text) || driven == 7, "text without a number keeps the last valid count");
    const std::optional<double> latitude = degreesUpTo(text, 90.0);
    const std::optional<double> degrees = degreesUpTo(text, 180.0);
    check(!latitude || (degrees && *degrees == *latitude), "a narrower range accepts less");
    if (!degrees) return 0;
    check(*degrees >= 0.0 && *degrees <= 180.0, "an accepted value is within its range");

    // The site's values are used as the file keeps them; rounding keeps them in range.
    const std::optional<double> kept = decimalNumber(oneDecimal(*degrees));
    check(kept && *kept >= 0.0 && *kept <= 180.0, "a value kept to one decimal stays in range");
    check(!latitude || *kept <= 90.0, "a latitude kept to one decimal stays in range");

    // A typed angle is sent as shown: east as it stands, west with the other side picked.
    for (const double angle : {*degrees, -*degrees}) {
        const auto bytes = gotoAngleData(angle);
        check(bytes.has_value(), "an accepted angle can be sent");
        check(tenthsSent(*bytes) == std::lround(angle * 10.0), "the angle sent is the one typed");
    }

    const Site sites[] = {{52.0, 5.0}, {-33.9, 151.2}, {0.0, 0.0}, {90.0, -180.0}, {-90.0, 180.0}};
    for (const Site& site : sites) {
        checkTarget(site, *degrees);
        checkTarget(site, -*degrees);
    }
    if (latitude && kept) checkTarget({-*kept, -*degrees}, *degrees);
    return 0;
}
