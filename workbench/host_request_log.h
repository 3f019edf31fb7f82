#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/diseqc_command_record.h"

// How far the workbench reads a native command looking for its zero byte. Real
// commands are a handful of bytes; a plug-in that forgets the zero must not
// send the workbench through its whole address space.
inline constexpr std::size_t NATIVE_COMMAND_READ_LIMIT = 64;

// A 32-bit value as the log shows it: 0x and eight hexadecimal digits.
std::string hex32(std::uint32_t value);

// The log line for a native command at `bytes`.
std::string nativeCommandLine(const std::uint8_t* bytes);

// The log lines for a command record: the command line, or one line saying why
// the record is unusable, and a note for each field that a strict host would
// frown on.
std::vector<std::string> commandRecordLines(const void* record);

// The command bytes a host would put on the bus, or nothing when the message
// carries no usable command.
std::optional<std::vector<std::uint8_t>> nativeCommandBytes(const std::uint8_t* bytes);
std::optional<std::vector<std::uint8_t>> recordCommandBytes(const void* record);

// Writes `name` into the host's 256-byte answer buffer the way a host would:
// terminated when it fits, cut to the buffer without a terminator when it does
// not. Returns the number of bytes written.
std::size_t writeApiName(char* buffer, std::string_view name);
