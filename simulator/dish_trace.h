#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A recorded run: one command per line, "<ms> <hex bytes>", the time in whole milliseconds
// since the run started, never going back; "#" starts a comment.
struct TraceCommand {
    std::uint64_t ms = 0;
    std::vector<std::uint8_t> bytes;
    int line = 0;
};

struct TraceError {
    int line = 0;
    std::string message;
};

struct ParsedTrace {
    std::vector<TraceCommand> commands;
    // Set at the first bad line; the commands before it are kept.
    std::optional<TraceError> error;
};

ParsedTrace readTrace(std::istream& in);
// One line of a trace, without its line break.
std::string traceLine(std::uint64_t ms, std::span<const std::uint8_t> bytes);
