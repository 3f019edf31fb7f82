#include "simulator/dish_trace.h"

#include <charconv>
#include <sstream>

#include "positioner/hex_byte.h"

namespace {

// Past this a millisecond count no longer survives the simulator's double arithmetic exactly.
constexpr std::uint64_t LARGEST_MS = std::uint64_t{1} << 52;

std::optional<std::uint64_t> milliseconds(const std::string& word) {
    std::uint64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (error != std::errc() || stop != end || value > LARGEST_MS) return std::nullopt;
    return value;
}

}  // namespace

ParsedTrace readTrace(std::istream& in) {
    ParsedTrace trace;
    std::string text;
    int lineNumber = 0;
    std::uint64_t last = 0;
    auto fail = [&](std::string message) {
        trace.error = TraceError{lineNumber, std::move(message)};
        return trace;
    };
    while (std::getline(in, text)) {
        ++lineNumber;
        if (const auto comment = text.find('#'); comment != std::string::npos) {
            text.erase(comment);
        }
        std::istringstream words(text);
        std::string word;
        if (!(words >> word)) continue;
        const std::optional<std::uint64_t> ms = milliseconds(word);
        if (!ms) return fail("\"" + word + "\" is not a time in whole milliseconds");
        if (*ms < last) {
            return fail("time " + word + " ms comes before " + std::to_string(last) +
                        " ms on an earlier line");
        }
        TraceCommand command{*ms, {}, lineNumber};
        while (words >> word) {
            const std::optional<std::uint8_t> byte = readHexByte(word);
            if (!byte) return fail("\"" + word + "\" is not a hex byte");
            command.bytes.push_back(*byte);
        }
        if (command.bytes.empty()) return fail("a time without command bytes");
        last = *ms;
        trace.commands.push_back(std::move(command));
    }
    if (in.bad()) {
        ++lineNumber;
        return fail("read error");
    }
    return trace;
}

std::string traceLine(std::uint64_t ms, std::span<const std::uint8_t> bytes) {
    const std::string line = std::to_string(ms);
    return bytes.empty() ? line : line + " " + hexBytes(bytes);
}
