// Feeds arbitrary text to the reader of the dish trace format ("<ms> <hex bytes>" a line) and
// prints what it read back in that format: read again, it must give the same commands.

#include <cstdint>
#include <sstream>
#include <string>

#include "simulator/dish_trace.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

ParsedTrace readText(const std::string& text) {
    std::istringstream in(text);
    return readTrace(in);
}

bool sameCommands(const ParsedTrace& a, const ParsedTrace& b) {
    if (a.commands.size() != b.commands.size()) return false;
    for (std::size_t i = 0; i < a.commands.size(); ++i) {
        if (a.commands[i].ms != b.commands[i].ms || a.commands[i].bytes != b.commands[i].bytes)
            return false;
    }
    return true;
}

// The first `lines` lines of the text, each with its line break.
std::string firstLines(const std::string& text, int lines) {
    std::size_t end = 0;
    for (int line = 0; line < lines && end != std::string::npos; ++line) {
        end = text.find('\n', end);
        if (end != std::string::npos) ++end;
    }
    return text.substr(0, end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(textOf(data, size));
    const ParsedTrace trace = readText(text);

    int lastLine = 0;
    std::uint64_t lastMs = 0;
    std::string printed;
    for (const TraceCommand& command : trace.commands) {
        check(command.line > lastLine, "each command has a line of its own");
        check(command.ms >= lastMs, "time never goes back");
        check(!command.bytes.empty(), "a command has bytes");
        check(command.ms <= std::uint64_t{1} << 52, "a time fits the simulator's arithmetic");
        lastLine = command.line;
        lastMs = command.ms;
        printed += traceLine(command.ms, command.bytes) + "\n";
    }
    if (trace.error) {
        check(trace.error->line > lastLine, "the error comes after the commands kept");
        check(!trace.error->message.empty(), "an error says what is wrong");
        // The commands kept are those of the lines before the bad one, and those lines are good.
        const ParsedTrace before = readText(firstLines(text, trace.error->line - 1));
        check(!before.error && sameCommands(before, trace), "the lines before an error are good");
    }

    const ParsedTrace again = readText(printed);
    check(!again.error, "a printed trace reads");
    check(sameCommands(again, trace), "a printed trace reads as the same commands");
    for (std::size_t i = 0; i < again.commands.size(); ++i) {
        check(again.commands[i].line == static_cast<int>(i) + 1, "printed one command a line");
    }
    return 0;
}
