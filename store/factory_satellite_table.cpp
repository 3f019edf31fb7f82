#include "store/factory_satellite_table.h"

namespace {

// Constant-initialised, so the table exists before the host calls into the module and can never
// change. The degree sign is the byte 0xB0, written in octal: a hex escape would swallow the "E".
// clang-format off
constexpr std::array<std::string_view, SATELLITE_COUNT> FACTORY_NAMES = {
    "Hot Bird  13\260E",
    "Astra 19.2\260E",
    "Eutelsat F3 16\260E",
    "Eutelsat F2 10\260E",
    "Eutelsat F4 7\260E",
    "Sirius 5\260E",
    "Telecom 2C 3\260E",
    "Intelsat 707 1\260E",
    "Telecom 2B,2D 5\260W",
    "Telecom 2A 8\260W",
    "Intelsat 705 18\260W",
    "Intelsat Star 21\260W",
    "Intelsat 803 27\260W",
    "Hispasat 30\260W",
    "Orion 37\260W",
    "Kopernicus 3 23\260E",
    "Arabsat 2A 26\260E",
    "Kopernicus 2 28\260E",
    "Astra 2 28\260E",
    "Arabsat 2B 30\260E",
    "Turksat 1B 31\260E",
    "Turksat 1C 42\260E",
    "Intelsat 601 34.5\260E",
    "Pas 1 45\260W",
    "Amos 4\260W",
    "Thor 0.8\260W",
    "Nilesat 7\260W",
    "Eutelsat 12.5\260W",
    // positions 29 to 60
    "not assigned", "not assigned", "not assigned", "not assigned",
    "not assigned", "not assigned", "not assigned", "not assigned",
    "not assigned", "not assigned", "not assigned", "not assigned",
    "not assigned", "not assigned", "not assigned", "not assigned",
    "not assigned", "not assigned", "not assigned", "not assigned",
    "not assigned", "not assigned", "not assigned", "not assigned",
    "not assigned", "not assigned", "not assigned", "not assigned",
    "not assigned", "not assigned", "not assigned", "not assigned",
};
// clang-format on

}  // namespace

const std::array<std::string_view, SATELLITE_COUNT>& FactorySatelliteTable::names() {
    return FACTORY_NAMES;
}
