#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One log line for a DiSEqC positioner command: the bytes in upper-case hex separated by
// blanks, two blanks, then what the command asks of the positioner. Reads at most length
// bytes; a null pointer counts as no bytes.
std::string describeDiseqc(const std::uint8_t* bytes, std::size_t length);
