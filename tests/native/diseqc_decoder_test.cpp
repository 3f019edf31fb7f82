#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "positioner/diseqc_decoder.h"
#include "positioner/positioner_commands.h"

namespace {

// The decoder sees exactly the bytes a host would be told about; a buffer of exactly that
// size lets the address sanitizer catch any read beyond it.
std::string describeExactly(const std::uint8_t* bytes, std::size_t length) {
    auto copy = std::make_unique<std::uint8_t[]>(length);
    if (length != 0) std::memcpy(copy.get(), bytes, length);
    return describeDiseqc(copy.get(), length);
}

std::string describe(const DiseqcCommand& command) {
    return describeExactly(command.data(), command.length());
}

std::string describe(const std::vector<std::uint8_t>& bytes) {
    return describeExactly(bytes.data(), bytes.size());
}

struct BuiltCase {
    DiseqcCommand command;
    const char* line;
};

TEST(DiseqcDecoder, DescribesWhatEveryBuilderAsksOfThePositioner) {
    const std::vector<BuiltCase> cases{
        {PositionerCommands::gotoPosition(2), "E0 31 6B 02  goto stored position 2"},
        {PositionerCommands::gotoPosition(60), "E0 31 6B 3C  goto stored position 60"},
        {PositionerCommands::gotoPosition(0), "E0 31 6B  goto reference position 0"},
        {PositionerCommands::driveEast(1), "E0 31 68 FA  drive east 6 steps"},
        {PositionerCommands::driveWest(19), "E0 31 69 82  drive west 126 steps"},
        {PositionerCommands::stepWest(), "E0 31 69 FD  drive west 3 steps"},
        {PositionerCommands::stepEast(), "E0 31 68 FD  drive east 3 steps"},
        {PositionerCommands::halt(), "E0 31 60  halt"},
        {PositionerCommands::storePosition(3), "E0 31 6A 03  store current position as 3"},
        {PositionerCommands::recalculatePositions(0), "E0 31 6F  reset all stored positions"},
        {PositionerCommands::recalculatePositions(5),
         "E0 31 6F 05  recalculate stored positions from satellite 5"},
    };
    for (const BuiltCase& row : cases) EXPECT_EQ(describe(row.command), row.line);
}

TEST(DiseqcDecoder, EveryTimedDriveReadsBackAsItsStepCount) {
    struct DriveCase {
        const char* data;
        int steps;
    };
    constexpr std::array<DriveCase, 19> drives{{
        {"FA", 6},  {"F3", 13},  {"ED", 19},  {"E6", 26},  {"DF", 33},  {"D9", 39}, {"D2", 46},
        {"CB", 53}, {"C5", 59},  {"BE", 66},  {"B7", 73},  {"B1", 79},  {"AA", 86}, {"A3", 93},
        {"9D", 99}, {"96", 106}, {"8F", 113}, {"89", 119}, {"82", 126},
    }};
    for (std::uint16_t degrees = 1; degrees <= drives.size(); ++degrees) {
        const DriveCase& row = drives[degrees - 1U];
        const std::string tail = std::string(row.data) + "  drive ";
        const std::string steps = " " + std::to_string(row.steps) + " steps";
        EXPECT_EQ(describe(PositionerCommands::driveEast(degrees)),
                  "E0 31 68 " + tail + "east" + steps);
        EXPECT_EQ(describe(PositionerCommands::driveWest(degrees)),
                  "E0 31 69 " + tail + "west" + steps);
    }
}

struct RawCase {
    std::vector<std::uint8_t> bytes;
    const char* line;
};

TEST(DiseqcDecoder, DescribesTheRestOfThePositionerCommandSet) {
    const std::vector<RawCase> cases{
        {{0xE0, 0x31, 0x63}, "E0 31 63  disable limits"},
        {{0xE0, 0x31, 0x66}, "E0 31 66  set east limit at current position"},
        {{0xE0, 0x31, 0x67}, "E0 31 67  set west limit at current position"},
        {{0xE0, 0x31, 0x6A, 0x00}, "E0 31 6A 00  enable limits"},
        {{0xE0, 0x31, 0x6A}, "E0 31 6A  enable limits"},
        {{0xE0, 0x31, 0x68}, "E0 31 68  drive east continuously"},
        {{0xE0, 0x31, 0x69, 0x00}, "E0 31 69 00  drive west continuously"},
        {{0xE0, 0x31, 0x68, 0x01}, "E0 31 68 01  drive east for 1 s"},
        {{0xE0, 0x31, 0x69, 0x7F}, "E0 31 69 7F  drive west for 127 s"},
        {{0xE0, 0x31, 0x68, 0x80}, "E0 31 68 80  drive east 128 steps"},
        {{0xE0, 0x31, 0x69, 0xFF}, "E0 31 69 FF  drive west 1 step"},
        {{0xE0, 0x31, 0x6F, 0x00}, "E0 31 6F 00  reset all stored positions"},
        {{0xE0, 0x31, 0x6E, 0xE0, 0xC8}, "E0 31 6E E0 C8  goto angle 12.5 deg, direction code E"},
        {{0xE0, 0x31, 0x6E, 0xD3, 0x41},
         "E0 31 6E D3 41  goto angle 52.0625 deg, direction code D"},
        {{0xE0, 0x31, 0x6E, 0xE0, 0x00}, "E0 31 6E E0 00  goto angle 0.0 deg, direction code E"},
        {{0xE0, 0x31, 0x6E, 0xE0}, "E0 31 6E E0  goto angle, incomplete angle data"},
        {{0xE0, 0x31, 0x60, 0x00}, "E0 31 60 00  halt, 1 unexpected data byte"},
        {{0xE0, 0x31, 0x6B, 0x02, 0x07, 0x08},
         "E0 31 6B 02 07 08  goto stored position 2, 2 unexpected data bytes"},
    };
    for (const RawCase& row : cases) EXPECT_EQ(describe(row.bytes), row.line);
}

TEST(DiseqcDecoder, ShowsUnknownAndIncompleteCommandsRaw) {
    const std::vector<RawCase> cases{
        {{0xE1, 0x31, 0x60}, "E1 31 60  unknown framing byte 0xE1"},
        {{0x00}, "00  unknown framing byte 0x00"},
        {{0xE0, 0x32, 0x60}, "E0 32 60  unknown address byte 0x32"},
        {{0xE0, 0x31, 0x65, 0x01}, "E0 31 65 01  unknown command byte 0x65"},
        {{0xE0, 0x31, 0x38, 0xF0}, "E0 31 38 F0  unknown command byte 0x38"},
        {{0xE0}, "E0  incomplete command: no address byte"},
        {{0xE0, 0x31}, "E0 31  incomplete command: no command byte"},
        {{}, "(none)  empty command"},
    };
    for (const RawCase& row : cases) EXPECT_EQ(describe(row.bytes), row.line);
}

TEST(DiseqcDecoder, ReadsNothingBeyondTheGivenLength) {
    // A zero-terminated command with a sentinel where the terminator would be.
    const std::uint8_t buffer[]{0xE0, 0x31, 0x6B, 0x02, 0xCC};
    EXPECT_EQ(describeDiseqc(buffer, 3), "E0 31 6B  goto reference position 0");
    EXPECT_EQ(describeDiseqc(buffer, 0), "(none)  empty command");
    EXPECT_EQ(describeDiseqc(nullptr, 4), "(none)  empty command");
}

}  // namespace
