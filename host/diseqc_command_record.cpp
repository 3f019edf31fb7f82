#include "host/diseqc_command_record.h"

#include <algorithm>

std::size_t commandLength(std::span<const std::uint8_t> bytes) {
    return static_cast<std::size_t>(std::find(bytes.begin(), bytes.end(), 0) - bytes.begin());
}

std::optional<DiseqcCommandRecord> encodeRecord(std::span<const std::uint8_t> bytes) {
    const std::size_t length = commandLength(bytes);
    if (length > RECORD_MAX_COMMAND_BYTES) return std::nullopt;
    DiseqcCommandRecord record{};
    record.size = sizeof(DiseqcCommandRecord);
    record.reserved = 0;
    record.length = static_cast<std::uint32_t>(length);
    std::copy_n(bytes.begin(), length, record.data);
    return record;
}
