#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The form in which an MD-API host takes a command. The host reads it as raw
// memory, so its layout is part of the interface.
struct DiseqcCommandRecord {
    std::uint32_t size;
    std::uint32_t reserved;
    std::uint32_t length;
    std::uint8_t data[16];
};

static_assert(std::endian::native == std::endian::little,
              "the host reads the record little-endian");
static_assert(sizeof(DiseqcCommandRecord) == 28);
static_assert(offsetof(DiseqcCommandRecord, size) == 0);
static_assert(offsetof(DiseqcCommandRecord, reserved) == 4);
static_assert(offsetof(DiseqcCommandRecord, length) == 8);
static_assert(offsetof(DiseqcCommandRecord, data) == 12);

// The most command bytes a record carries; the data area keeps one byte for
// the terminating zero.
inline constexpr std::size_t RECORD_MAX_COMMAND_BYTES = 15;

// The record for a command, or nothing when the command does not fit: a
// longer command is refused rather than cut, since a cut DiSEqC command
// would move the dish somewhere nobody asked for.
std::optional<DiseqcCommandRecord> encodeRecord(std::span<const std::uint8_t> bytes);
