#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "positioner/positioner_commands.h"

// Framing: the master repeats a command that got no reply.
inline constexpr std::uint8_t DISEQC_FRAMING_REPEAT = 0xE1;
// Any positioner, and the elevation one beside the polar/azimuth DISEQC_ADDR_POSITIONER.
inline constexpr std::uint8_t DISEQC_ADDR_ANY_POSITIONER = 0x30;
inline constexpr std::uint8_t DISEQC_ADDR_ELEVATION = 0x32;

// A positioner command of DiSEqC 1.2, as the log and the simulated dish both word it. A command
// whose data bytes may all be zero needs none: the first zero byte ends it on the wire.
struct DiseqcCommandKind {
    std::uint8_t code;
    const char* name;
    // What a data byte of zero asks, where the name alone does not say it.
    const char* whenZero;
    std::size_t fewestData;
    std::size_t mostData;
};

inline constexpr std::array<DiseqcCommandKind, 10> DISEQC_COMMANDS{{
    {DISEQC_HALT, "halt", nullptr, 0, 0},
    {DISEQC_LIMITS_OFF, "disable limits", nullptr, 0, 0},
    {DISEQC_LIMIT_EAST, "set east limit", nullptr, 0, 0},
    {DISEQC_LIMIT_WEST, "set west limit", nullptr, 0, 0},
    {DISEQC_DRIVE_EAST, "drive east", "drive east continuously", 0, 1},
    {DISEQC_DRIVE_WEST, "drive west", "drive west continuously", 0, 1},
    // Store 0 is how DiSEqC 1.2 switches the limits back on.
    {DISEQC_STORE, "store", "enable limits", 0, 1},
    {DISEQC_GOTO, "goto", "goto reference position", 0, 1},
    {DISEQC_GOTO_ANGLE, "goto angle", nullptr, 2, 2},
    {DISEQC_RECALCULATE, "recalculate", "reset all stored positions", 0, 1},
}};

// Null for a code that is not in the table.
const DiseqcCommandKind* findDiseqcCommand(std::uint8_t code);

// A frame from master to slave, split into its fields without judging them: each reader decides
// which framing bytes and addresses it answers to and how it words what it finds.
struct DiseqcFrame {
    // Absent when the frame ends before them.
    std::optional<std::uint8_t> framing;
    std::optional<std::uint8_t> address;
    std::optional<std::uint8_t> command;
    // Null when the command byte is absent or not in the table.
    const DiseqcCommandKind* kind = nullptr;
    // Every byte after the command byte.
    std::span<const std::uint8_t> data;

    // Data bytes short of what the command needs, and beyond what it takes; zero for an unknown
    // command.
    std::size_t missingData() const;
    std::size_t extraData() const;
    // A missing data byte reads as zero: a zero data byte ends the command on the wire.
    std::uint8_t firstData() const { return data.empty() ? 0 : data[0]; }
};

DiseqcFrame parseDiseqcFrame(std::span<const std::uint8_t> bytes);

// A command that wants no reply, sent the first time or repeated.
bool isMasterCommand(std::uint8_t framing);
bool isPositionerAddress(std::uint8_t address);

// The two data bytes of a goto-angle command: the direction in the high nibble of the first,
// whole degrees in the eight bits after it, then sixteenths of a degree.
struct GotoAngleBytes {
    // GOTO_ANGLE_EAST or GOTO_ANGLE_WEST when the bytes are sound.
    std::uint8_t direction;
    int whole;
    std::uint8_t sixteenths;
};

GotoAngleBytes readGotoAngle(std::uint8_t high, std::uint8_t low);
// The angle a motor turns to for those bytes, east positive, to the tenth.
double gotoAngleOf(std::uint8_t high, std::uint8_t low);
