#include "host/diseqc_command_record.h"

#include <algorithm>

#include "positioner/diseqc_command.h"

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
