#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// A DiSEqC master command as the host receives it: a zero-terminated byte
// string. Bytes 0 to 2 are never zero, so a zero data byte shortens the
// command to three bytes on the wire.
struct DiseqcCommand {
    std::array<std::uint8_t, 5> bytes{};

    std::size_t length() const {
        std::size_t n = 0;
        while (n < bytes.size() && bytes[n] != 0) ++n;
        return n;
    }
    const std::uint8_t* data() const { return bytes.data(); }
};
