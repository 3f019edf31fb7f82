#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Two upper-case hex digits, no prefix: "0A".
std::string hexByte(std::uint8_t value);
// With the C prefix: "0x0A".
std::string hexCode(std::uint8_t value);
// Each byte as hexByte shows it, one blank between them: "E0 31 68".
std::string hexBytes(std::span<const std::uint8_t> bytes);
// Exactly two hex digits of either case; anything else is not a byte.
std::optional<std::uint8_t> readHexByte(std::string_view word);
