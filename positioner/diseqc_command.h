#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// Length of a zero-terminated command held in `bytes`: the bytes before the
// first zero, or all of them when there is none.
inline std::size_t commandLength(std::span<const std::uint8_t> bytes) {
    return static_cast<std::size_t>(std::find(bytes.begin(), bytes.end(), 0) - bytes.begin());
}

// A DiSEqC master command as the host receives it: a zero-terminated byte
// string. Bytes 0 to 2 are never zero, so a zero data byte shortens the
// command to three bytes on the wire.
struct DiseqcCommand {
    std::array<std::uint8_t, 5> bytes{};

    std::size_t length() const { return commandLength(bytes); }
    const std::uint8_t* data() const { return bytes.data(); }
};
