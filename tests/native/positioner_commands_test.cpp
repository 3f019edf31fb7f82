#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "positioner/positioner_commands.h"

namespace {

std::string hex(const DiseqcCommand& command) {
    std::string text;
    char buffer[4];
    for (const std::uint8_t value : command.bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X ", value);
        text += buffer;
    }
    text.pop_back();
    return text;
}

struct DriveStepCase {
    std::uint16_t degrees;
    int steps;  // truncated product, negative
    std::uint8_t dataByte;
};

constexpr std::array<DriveStepCase, 19> DRIVE_STEPS{{
    {1, -6, 0xFA},    {2, -13, 0xF3},   {3, -19, 0xED},   {4, -26, 0xE6},   {5, -33, 0xDF},
    {6, -39, 0xD9},   {7, -46, 0xD2},   {8, -53, 0xCB},   {9, -59, 0xC5},   {10, -66, 0xBE},
    {11, -73, 0xB7},  {12, -79, 0xB1},  {13, -86, 0xAA},  {14, -93, 0xA3},  {15, -99, 0x9D},
    {16, -106, 0x96}, {17, -113, 0x8F}, {18, -119, 0x89}, {19, -126, 0x82},
}};

TEST(PositionerCommands, EverySpinDegreeGivesItsNegatedStepCountInBothDirections) {
    for (const DriveStepCase& row : DRIVE_STEPS) {
        SCOPED_TRACE("degrees " + std::to_string(row.degrees));
        EXPECT_EQ(static_cast<std::uint8_t>(row.steps), row.dataByte);
        EXPECT_EQ(int{PositionerCommands::driveDataByte(row.degrees)}, int{row.dataByte});

        const DiseqcCommand west = PositionerCommands::driveWest(row.degrees);
        const DiseqcCommand east = PositionerCommands::driveEast(row.degrees);
        EXPECT_EQ(int{west.bytes[3]}, int{row.dataByte});
        EXPECT_EQ(int{east.bytes[3]}, int{row.dataByte});
        EXPECT_EQ(west.length(), 4U);
        EXPECT_EQ(east.length(), 4U);
    }
}

TEST(PositionerCommands, SinglePrecisionFactorGivesOneStepLessAtMultiplesOfThreeDegrees) {
    const double exactThirds = -20.0 / 3.0;
    for (const DriveStepCase& row : DRIVE_STEPS) {
        SCOPED_TRACE("degrees " + std::to_string(row.degrees));
        const auto withDouble = static_cast<std::int32_t>(row.degrees * exactThirds);
        if (row.degrees % 3 == 0) {
            EXPECT_EQ(withDouble, row.steps - 1);
            EXPECT_NE(int{PositionerCommands::driveDataByte(row.degrees)},
                      int{static_cast<std::uint8_t>(withDouble)});
        } else {
            EXPECT_EQ(withDouble, row.steps);
        }
    }
    EXPECT_EQ(int{PositionerCommands::driveDataByte(3)}, 0xED);
}

struct BuilderCase {
    const char* name;
    DiseqcCommand command;
    const char* bytes;
    std::size_t length;
};

void expectBuilt(const std::vector<BuilderCase>& cases) {
    for (const BuilderCase& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(hex(row.command), row.bytes);
        EXPECT_EQ(row.command.length(), row.length);
    }
}

TEST(PositionerCommands, BuildersWriteFramingAddressCommandDataAndTerminator) {
    const std::vector<BuilderCase> cases{
        {"driveWest(1)", PositionerCommands::driveWest(1), "E0 31 69 FA 00", 4},
        {"driveWest(19)", PositionerCommands::driveWest(19), "E0 31 69 82 00", 4},
        {"driveEast(1)", PositionerCommands::driveEast(1), "E0 31 68 FA 00", 4},
        {"driveEast(3)", PositionerCommands::driveEast(3), "E0 31 68 ED 00", 4},
        {"driveEast(0)", PositionerCommands::driveEast(0), "E0 31 68 00 00", 3},
        {"stepWest", PositionerCommands::stepWest(), "E0 31 69 FD 00", 4},
        {"stepEast", PositionerCommands::stepEast(), "E0 31 68 FD 00", 4},
        {"halt", PositionerCommands::halt(), "E0 31 60 00 00", 3},
        {"gotoPosition(0)", PositionerCommands::gotoPosition(0), "E0 31 6B 00 00", 3},
        {"gotoPosition(1)", PositionerCommands::gotoPosition(1), "E0 31 6B 01 00", 4},
        {"gotoPosition(60)", PositionerCommands::gotoPosition(60), "E0 31 6B 3C 00", 4},
        {"storePosition(1)", PositionerCommands::storePosition(1), "E0 31 6A 01 00", 4},
        {"storePosition(49)", PositionerCommands::storePosition(49), "E0 31 6A 31 00", 4},
        {"recalculatePositions(0)", PositionerCommands::recalculatePositions(0), "E0 31 6F 00 00",
         3},
        {"recalculatePositions(5)", PositionerCommands::recalculatePositions(5), "E0 31 6F 05 00",
         4},
        {"recalculatePositions(255)", PositionerCommands::recalculatePositions(255),
         "E0 31 6F FF 00", 4},
    };
    expectBuilt(cases);
}

TEST(PositionerCommands, ExtrasCommandsKeepTheirBytesUpToTheFirstZero) {
    const std::vector<BuilderCase> cases{
        {"driveEastUntilHalted", PositionerCommands::driveEastUntilHalted(), "E0 31 68 00 00", 3},
        {"driveWestUntilHalted", PositionerCommands::driveWestUntilHalted(), "E0 31 69 00 00", 3},
        {"setEastLimit", PositionerCommands::setEastLimit(), "E0 31 66 00 00", 3},
        {"setWestLimit", PositionerCommands::setWestLimit(), "E0 31 67 00 00", 3},
        {"limitsOff", PositionerCommands::limitsOff(), "E0 31 63 00 00", 3},
        {"limitsOn", PositionerCommands::limitsOn(), "E0 31 6A 00 00", 3},
        {"gotoAngle 8.9E", PositionerCommands::gotoAngle({0xE0, 0x8E}), "E0 31 6E E0 8E", 5},
        {"gotoAngle 30.6W", PositionerCommands::gotoAngle({0xD1, 0xEA}), "E0 31 6E D1 EA", 5},
        {"gotoAngle 15.9E", PositionerCommands::gotoAngle({0xE0, 0xFE}), "E0 31 6E E0 FE", 5},
    };
    expectBuilt(cases);
}

// A zero second byte would end the command after four bytes: the motor would get a goto angle
// without its degrees.
TEST(PositionerCommands, GotoAngleOfAWholeMultipleOfSixteenDegreesGoesOutWhole) {
    const std::vector<BuilderCase> cases{
        {"0.0", PositionerCommands::gotoAngle({0xE0, 0x00}), "E0 31 6E E0 01", 5},
        {"16.0E", PositionerCommands::gotoAngle({0xE1, 0x00}), "E0 31 6E E1 01", 5},
        {"64.0W", PositionerCommands::gotoAngle({0xD4, 0x00}), "E0 31 6E D4 01", 5},
        {"16.1E keeps its tenth", PositionerCommands::gotoAngle({0xE1, 0x02}), "E0 31 6E E1 02", 5},
    };
    expectBuilt(cases);
}

}  // namespace
