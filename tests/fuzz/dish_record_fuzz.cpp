// Feeds arbitrary text to the reader of the dish's state record, then sends the dish it read a
// few commands. A text reads either as the very record that the writer gives back, or as a dish
// about which nothing is known; no dish is ever past its end stops.

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "dish/dish_model.h"
#include "dish/dish_record.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr double SPEED = 1.0;

void checkAngle(std::optional<double> angle) {
    check(!angle || std::abs(*angle) <= DEFAULT_END_STOP, "the dish stays within its end stops");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(textOf(data, size));
    DishModel dish = decodeDishRecord(text, SPEED);
    const std::string written = encodeDishRecord(dish);
    check(written == text || written == encodeDishRecord(DishModel::unknown(SPEED)),
          "a text reads as itself or as unknown");
    check(encodeDishRecord(decodeDishRecord(written, SPEED)) == written, "a record reads back");

    constexpr std::array<std::array<std::uint8_t, 5>, 6> COMMANDS{{
        {0xE0, 0x31, 0x68, 0x00, 0x00},
        {0xE0, 0x31, 0x66, 0x00, 0x00},
        {0xE0, 0x31, 0x6B, 0x07, 0x00},
        {0xE0, 0x31, 0x6E, 0xD3, 0x20},
        {0xE0, 0x31, 0x60, 0x00, 0x00},
        {0xE0, 0x31, 0x63, 0x00, 0x00},
    }};
    constexpr std::array<std::size_t, 6> LENGTHS{4, 3, 4, 5, 3, 3};
    double ms = dish.motion().startMs;
    for (std::size_t i = 0; i < COMMANDS.size(); ++i) {
        ms += 1000.0 * static_cast<double>(i);
        dish.apply(ms, std::span<const std::uint8_t>(COMMANDS[i].data(), LENGTHS[i]));
        checkAngle(dish.angleAt(ms));
        checkAngle(dish.angleAt(ms + 500.0));
        checkAngle(dish.angleAt(dish.endMs()));
    }
    return 0;
}
