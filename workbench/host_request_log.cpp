#include "workbench/host_request_log.h"

#include <cstdio>
#include <cstring>

#include "host/host_messages.h"
#include "positioner/diseqc_decoder.h"

namespace {

constexpr const char* NATIVE_PREFIX = "native  ";
constexpr const char* RECORD_PREFIX = "md-api  ";

const std::uint8_t* zeroWithinLimit(const std::uint8_t* bytes) {
    return static_cast<const std::uint8_t*>(std::memchr(bytes, 0, NATIVE_COMMAND_READ_LIMIT));
}

// The record when its size and length can be trusted; else why not.
std::optional<DiseqcCommandRecord> readRecord(const void* record, std::string& problem) {
    if (record == nullptr) {
        problem = "no record: null pointer";
        return std::nullopt;
    }
    // The size comes first so that a record of another size is not read any further.
    std::uint32_t size = 0;
    std::memcpy(&size, record, sizeof size);
    if (size != sizeof(DiseqcCommandRecord)) {
        problem = "malformed record: size " + std::to_string(size) + ", expected " +
                  std::to_string(sizeof(DiseqcCommandRecord));
        return std::nullopt;
    }
    DiseqcCommandRecord copy;
    std::memcpy(&copy, record, sizeof copy);
    if (copy.length > RECORD_MAX_COMMAND_BYTES) {
        problem = "malformed record: length " + std::to_string(copy.length) + ", at most " +
                  std::to_string(RECORD_MAX_COMMAND_BYTES) + " command bytes fit";
        return std::nullopt;
    }
    return copy;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> nativeCommandBytes(const std::uint8_t* bytes) {
    if (bytes == nullptr) return std::nullopt;
    const std::uint8_t* zero = zeroWithinLimit(bytes);
    if (zero == nullptr) return std::nullopt;
    return std::vector<std::uint8_t>(bytes, zero);
}

std::optional<std::vector<std::uint8_t>> recordCommandBytes(const void* record) {
    std::string problem;
    const std::optional<DiseqcCommandRecord> copy = readRecord(record, problem);
    if (!copy) return std::nullopt;
    return std::vector<std::uint8_t>(copy->data, copy->data + copy->length);
}

std::string hex32(std::uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

std::string nativeCommandLine(const std::uint8_t* bytes) {
    if (bytes == nullptr) return std::string(NATIVE_PREFIX) + "no command: null pointer";
    const std::uint8_t* zero = zeroWithinLimit(bytes);
    if (zero == nullptr) {
        return std::string(NATIVE_PREFIX) + "no zero byte within " +
               std::to_string(NATIVE_COMMAND_READ_LIMIT) +
               " bytes: " + describeDiseqc(bytes, NATIVE_COMMAND_READ_LIMIT);
    }
    const auto length = static_cast<std::size_t>(zero - bytes);
    return NATIVE_PREFIX + describeDiseqc(bytes, length);
}

std::vector<std::string> commandRecordLines(const void* raw) {
    std::string problem;
    const std::optional<DiseqcCommandRecord> record = readRecord(raw, problem);
    if (!record) return {RECORD_PREFIX + problem};
    const DiseqcCommandRecord& copy = *record;

    std::vector<std::string> lines{RECORD_PREFIX + describeDiseqc(copy.data, copy.length)};
    if (copy.reserved != 0) {
        lines.push_back(std::string(RECORD_PREFIX) + "note: reserved field is " +
                        hex32(copy.reserved) + ", expected 0");
    }
    if (copy.data[copy.length] != 0) {
        lines.push_back(std::string(RECORD_PREFIX) + "note: no zero byte after the " +
                        std::to_string(copy.length) + " command bytes");
    }
    return lines;
}

std::size_t writeApiName(char* buffer, std::string_view name) {
    if (name.size() >= HOST_API_NAME_BUFFER) {
        std::memcpy(buffer, name.data(), HOST_API_NAME_BUFFER);
        return HOST_API_NAME_BUFFER;
    }
    std::memcpy(buffer, name.data(), name.size());
    buffer[name.size()] = '\0';
    return name.size() + 1;
}
