#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "positioner/diseqc_frame.h"

// One log line for a DiSEqC positioner command: the bytes in upper-case hex separated by
// blanks, two blanks, then what the command asks of the positioner. Reads at most length
// bytes; a null pointer counts as no bytes.
std::string describeDiseqc(const std::uint8_t* bytes, std::size_t length);

// "1 step", "2 steps".
std::string counted(std::size_t count, const char* word);

// How far a drive east or west asks to go, after the command's name: "drive east 13 steps",
// "drive west for 3 s", "drive east continuously".
std::string describeDrive(const DiseqcCommandKind& drive, std::uint8_t data);
