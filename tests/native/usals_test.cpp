#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "positioner/usals.h"
#include "simulator/dish_simulator.h"

namespace {

struct PointingCase {
    const char* what;
    Site site;
    double satellite;
    std::uint8_t high;
    std::uint8_t low;
    // Figures worked by hand with the textbook formulas for a geostationary satellite.
    double azimuth;
    double elevation;
};

constexpr std::array<PointingCase, 4> POINTING{{
    {"north, satellite east", {52.0, 5.0}, 19.2, 0xE0, 0xFA, 162.20, 29.05},
    {"north, satellite west", {52.0, 5.0}, -30.0, 0xD2, 0x65, 221.62, 22.24},
    {"south, satellite east", {-33.9, 151.2}, 156.0, 0xD0, 0x58, 8.56, 50.25},
    {"due south", {52.0, 5.0}, 5.0, 0xE0, 0x00, 180.00, 30.51},
}};

TEST(Usals, PointsTheDishAndEncodesTheAngleForEachHemisphereAndSide) {
    for (const PointingCase& row : POINTING) {
        SCOPED_TRACE(row.what);
        const SatelliteLook look = lookAt(row.site, row.satellite);
        EXPECT_TRUE(look.aboveHorizon());
        EXPECT_NEAR(look.azimuth, row.azimuth, 0.01);
        EXPECT_NEAR(look.elevation, row.elevation, 0.01);
        const auto data = gotoAngleData(look.motorAngle);
        ASSERT_TRUE(data.has_value());
        EXPECT_EQ((*data)[0], row.high);
        EXPECT_EQ((*data)[1], row.low);
    }
}

TEST(Usals, TheSouthTurnsTheMotorTheOtherWayForTheSameSideOfTheSite) {
    const SatelliteLook north = lookAt({33.9, 151.2}, 156.0);
    const SatelliteLook south = lookAt({-33.9, 151.2}, 156.0);
    EXPECT_DOUBLE_EQ(north.hourAngle, south.hourAngle);
    EXPECT_GT(north.motorAngle, 0.0);
    EXPECT_DOUBLE_EQ(south.motorAngle, -north.motorAngle);
}

TEST(Usals, EveryTenthHasItsSixteenthsInTheLowNibble) {
    constexpr std::array<std::uint8_t, 10> SIXTEENTHS{0x0, 0x2, 0x3, 0x5, 0x6,
                                                      0x8, 0xA, 0xB, 0xD, 0xE};
    for (int tenth = 0; tenth < 10; ++tenth) {
        SCOPED_TRACE("tenth " + std::to_string(tenth));
        const auto east = gotoAngleData(37.0 + tenth / 10.0);
        const auto west = gotoAngleData(-(37.0 + tenth / 10.0));
        ASSERT_TRUE(east && west);
        EXPECT_EQ((*east)[0], 0xE2);
        EXPECT_EQ((*west)[0], 0xD2);
        EXPECT_EQ((*east)[1], 0x50 | SIXTEENTHS[tenth]);
        EXPECT_EQ((*west)[1], (*east)[1]);
    }
}

struct EncodingCase {
    double angle;
    std::optional<std::array<std::uint8_t, 2>> data;
};

TEST(Usals, RoundsToTenthsAndRefusesWhatTheBytesCannotHold) {
    constexpr std::array<EncodingCase, 9> CASES{{
        {0.0, std::array<std::uint8_t, 2>{0xE0, 0x00}},
        {-0.04, std::array<std::uint8_t, 2>{0xE0, 0x00}},
        {-0.05, std::array<std::uint8_t, 2>{0xD0, 0x02}},
        {16.0, std::array<std::uint8_t, 2>{0xE1, 0x00}},
        {15.96, std::array<std::uint8_t, 2>{0xE1, 0x00}},
        {-80.0, std::array<std::uint8_t, 2>{0xD5, 0x00}},
        {255.94, std::array<std::uint8_t, 2>{0xEF, 0xFE}},
        {-255.96, std::nullopt},
        {256.0, std::nullopt},
    }};
    for (const EncodingCase& row : CASES) {
        SCOPED_TRACE("angle " + std::to_string(row.angle));
        EXPECT_EQ(gotoAngleData(row.angle), row.data);
    }
}

TEST(Usals, SatellitesBehindTheEarthAreBelowTheHorizon) {
    struct Case {
        Site site;
        double satellite;
    };
    constexpr std::array<Case, 3> BELOW{
        {{{52.0, 5.0}, 120.0}, {{52.0, 5.0}, -80.0}, {{85.0, 0.0}, 0.0}}};
    for (const Case& row : BELOW) {
        EXPECT_FALSE(lookAt(row.site, row.satellite).aboveHorizon()) << row.satellite;
    }
}

TEST(Usals, TheMotorAngleLeadsBackToItsSatellite) {
    constexpr std::array<Site, 3> SITES{{{52.0, 5.0}, {-33.9, 151.2}, {0.0, -170.0}}};
    for (const Site& site : SITES) {
        for (double offset = -70.0; offset <= 70.0; offset += 17.5) {
            double satellite = site.longitude + offset;
            if (satellite > 180.0) satellite -= 360.0;
            if (satellite <= -180.0) satellite += 360.0;
            const double angle = lookAt(site, satellite).motorAngle;
            EXPECT_NEAR(satelliteLongitudeAt(site, angle), satellite, 1e-9)
                << site.latitude << " " << satellite;
        }
    }
}

TEST(Usals, TheSimulatedPositionerTurnsToTheAngleTheBytesCarry) {
    constexpr std::array<double, 7> ANGLES{15.64, -38.31, 5.49, -5.49, 0.0, 16.0, -79.96};
    for (const double angle : ANGLES) {
        SCOPED_TRACE("angle " + std::to_string(angle));
        const auto data = gotoAngleData(angle);
        ASSERT_TRUE(data.has_value());
        DishSimulator dish(1.9);
        const std::array<std::uint8_t, 5> command{0xE0, 0x31, 0x6E, (*data)[0], (*data)[1]};
        EXPECT_TRUE(dish.send(0.0, command).accepted);
        EXPECT_NEAR(dish.stateAt(120000.0).angle.value(), std::round(angle * 10.0) / 10.0, 1e-9);
    }
}

struct PositionCase {
    const char* text;
    std::optional<double> longitude;
};

TEST(Usals, ReadsTheOrbitalPositionAtTheEndOfATextOrName) {
    constexpr std::array<PositionCase, 13> CASES{{
        {"19.2E", 19.2},
        {"30.0w", -30.0},
        {" 30 W ", -30.0},
        {"Astra 19.2\xB0"
         "E",
         19.2},
        {"Telecom 2B,2D 5\xB0W", -5.0},
        {"Hot Bird  13 \xB0"
         "E",
         13.0},
        {"180E", 180.0},
        {"180.1E", std::nullopt},
        {"SES5\xB0"
         "E",
         std::nullopt},
        {"Astra", std::nullopt},
        {"19.2", std::nullopt},
        {"1.2.3E", std::nullopt},
        {"E", std::nullopt},
    }};
    for (const PositionCase& row : CASES) {
        SCOPED_TRACE(row.text);
        const std::optional<double> longitude = orbitalPosition(row.text);
        ASSERT_EQ(longitude.has_value(), row.longitude.has_value());
        if (longitude) {
            EXPECT_DOUBLE_EQ(*longitude, *row.longitude);
        }
    }
}

}  // namespace
