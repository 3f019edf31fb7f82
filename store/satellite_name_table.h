#pragma once

#include <array>
#include <string>

#include "store/factory_satellite_table.h"

// Entry i labels stored position i + 1.
using SatelliteNameTable = std::array<std::string, SATELLITE_COUNT>;
