#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "positioner/diseqc_command.h"

// Framing: command from master, no reply required, first transmission.
inline constexpr std::uint8_t DISEQC_FRAMING = 0xE0;
// Polar/azimuth positioner.
inline constexpr std::uint8_t DISEQC_ADDR_POSITIONER = 0x31;

inline constexpr std::uint8_t DISEQC_HALT = 0x60;
inline constexpr std::uint8_t DISEQC_DRIVE_EAST = 0x68;
inline constexpr std::uint8_t DISEQC_DRIVE_WEST = 0x69;
inline constexpr std::uint8_t DISEQC_STORE = 0x6A;
inline constexpr std::uint8_t DISEQC_GOTO = 0x6B;
inline constexpr std::uint8_t DISEQC_RECALCULATE = 0x6F;
inline constexpr std::uint8_t DISEQC_LIMITS_OFF = 0x63;
inline constexpr std::uint8_t DISEQC_LIMIT_EAST = 0x66;
inline constexpr std::uint8_t DISEQC_LIMIT_WEST = 0x67;
inline constexpr std::uint8_t DISEQC_GOTO_ANGLE = 0x6E;

// Drive data 0xFD: three steps, as two's complement of the step count.
inline constexpr std::uint8_t STEP_DATA = 0xFD;

// Steps per degree, negated. It has to be this single-precision value: -20/3 in double would
// give one step more at every multiple of 3 degrees.
inline constexpr float DRIVE_STEP_FACTOR = -6.6666665F;
static_assert(std::bit_cast<std::uint32_t>(DRIVE_STEP_FACTOR) == 0xC0D55555U);
static_assert(static_cast<double>(DRIVE_STEP_FACTOR) == -13981013.0 / 2097152.0);

namespace PositionerCommands {

// Data byte of a timed drive: the negated step count for the degrees, low 8 bits.
std::uint8_t driveDataByte(std::uint16_t degrees);

DiseqcCommand driveWest(std::uint16_t degrees);
DiseqcCommand driveEast(std::uint16_t degrees);
DiseqcCommand stepWest();
DiseqcCommand stepEast();
DiseqcCommand halt();
// n = 0 is the reference position; the command is then three bytes long.
DiseqcCommand gotoPosition(std::uint8_t n);
DiseqcCommand storePosition(std::uint8_t n);
// n = 0 resets all stored positions; the command is then three bytes long.
DiseqcCommand recalculatePositions(std::uint8_t n);

// Data 00 drives until a halt; like every zero data byte it ends the command, which the motor
// reads as 00.
DiseqcCommand driveEastUntilHalted();
DiseqcCommand driveWestUntilHalted();
// The present position becomes the limit on that side.
DiseqcCommand setEastLimit();
DiseqcCommand setWestLimit();
DiseqcCommand limitsOff();
// Store with data 00.
DiseqcCommand limitsOn();
// Five bytes, no terminator: the two data bytes of the angle. The host takes a command up to its
// first zero byte, and this one needs both: a second byte of 00 (a whole multiple of 16 degrees)
// goes out as 01, one sixteenth of a degree further, the least the motor tells apart.
DiseqcCommand gotoAngle(std::array<std::uint8_t, 2> data);

}  // namespace PositionerCommands
