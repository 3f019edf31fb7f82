#pragma once

#include <array>
#include <cstddef>
#include <string_view>

inline constexpr std::size_t SATELLITE_COUNT = 60;

// The names a new settings file starts with, that stand in for any name the file lacks, and that
// "Restore Factory Settings" puts back. Entry i labels stored position i + 1. The texts are
// single-byte ANSI; the degree sign is the Latin-1 byte 0xB0.
class FactorySatelliteTable {
  public:
    static const std::array<std::string_view, SATELLITE_COUNT>& names();
};
