#include "positioner/hex_byte.h"

namespace {

constexpr std::string_view DIGITS = "0123456789ABCDEF";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string hexByte(std::uint8_t value) {
    return {DIGITS[value >> 4], DIGITS[value & 0x0F]};
}

std::string hexCode(std::uint8_t value) {
    return "0x" + hexByte(value);
}

std::string hexBytes(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (const std::uint8_t value : bytes) {
        if (!text.empty()) text += ' ';
        text += hexByte(value);
    }
    return text;
}

std::optional<std::uint8_t> readHexByte(std::string_view word) {
    if (word.size() != 2) return std::nullopt;
    const int high = hexDigit(word[0]);
    const int low = hexDigit(word[1]);
    if (high < 0 || low < 0) return std::nullopt;
    return static_cast<std::uint8_t>(high * 16 + low);
}
