#include "simulator/dish_trace.h"

#include <charconv>
#include <sstream>

namespace {

// Past this a millisecond count no longer survives the simulator's double arithmetic exactly.
constexpr std::uint64_t LARGEST_MS = std::uint64_t{1} << 52;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::uint8_t> hexByte(const std::string& word) {
    if (word.size() != 2) return std::nullopt;
    const int high = hexDigit(word[0]);
    const int low = hexDigit(word[1]);
    if (high < 0 || low < 0) return std::nullopt;
    return static_cast<std::uint8_t>(high * 16 + low);
}

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
            const std::optional<std::uint8_t> byte = hexByte(word);
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
    constexpr const char* DIGITS = "0123456789ABCDEF";
    std::string line = std::to_string(ms);
    for (const std::uint8_t byte : bytes) {
        line += ' ';
        line += DIGITS[byte >> 4];
        line += DIGITS[byte & 0x0F];
    }
    return line;
}
