// Feeds arbitrary files and names to the portable profile. The input is the file's content,
// optionally followed by section, key and value, each introduced by a 0x1F byte.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "store/portable_profile.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

struct Input {
    std::string_view content;
    std::string_view section = "SATELLITE NAMES";
    std::string_view key = "POS1";
    std::string_view value = "Astra 19.2\260E";
};

Input split(std::string_view data) {
    Input input;
    input.content = splitFields(data, {&input.value, &input.key, &input.section});
    return input;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1A';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view unquoted(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

// Names that a file line cannot carry back: a line break ends the line, '=' ends a key, and a
// key line starting with '[' may read as a section header.
bool roundTrips(const Input& input) {
    return !hasLineBreak(input.section) && !hasLineBreak(input.key) && !hasLineBreak(input.value) &&
           input.key.find('=') == std::string_view::npos && !trim(input.key).starts_with('[');
}

std::string fileContent(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file in memory, where one is at hand, lets the run try many more inputs.
std::string folder() {
    const char* temporary = std::getenv("TMPDIR");
    return temporary != nullptr && *temporary != '\0' ? temporary : "/tmp";
}

const std::string& scratchPath() {
    static const struct ScratchFile {
        std::string path = folder() + "/profile_fuzz_" + std::to_string(getpid()) + ".ini";
        ~ScratchFile() { std::remove(path.c_str()); }
    } scratch;
    return scratch.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input = split(textOf(data, size));
    const std::string& path = scratchPath();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(input.content.data(), static_cast<std::streamsize>(input.content.size()));
    PortableProfile profile;

    const std::size_t capacity = size % 80;
    const std::string first = profile.readString(path, input.section, input.key, "dflt", capacity);
    check(capacity == 0 ? first.empty() : first.size() < capacity, "read fits its capacity");
    check(PortableFileStore().read(path).state == FileStore::State::Read, "file opens");

    const std::string neighbour = profile.readString(path, "SATELLITE NAMES", "POS60", "dflt", 256);
    const std::string before = fileContent(path);
    profile.writeString(path, input.section, input.key, input.value);
    const std::string after = fileContent(path);

    // Whatever the write did, it removed at most part of one line: the bytes it dropped, found
    // between the longest common prefix and suffix, hold no more than one line end.
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::string_view dropped =
        std::string_view(before).substr(prefix, before.size() - prefix - suffix);
    std::size_t lineEnds = 0;
    for (const char c : dropped) lineEnds += c == '\r' || c == '\n';
    check(lineEnds <= 2, "a write rewrites at most one line");

    if (!roundTrips(input)) return 0;
    const std::string readBack =
        profile.readString(path, input.section, input.key, "dflt", input.value.size() + 1);
    check(readBack == unquoted(trim(input.value)), "a written value reads back");
    if (!(sameName(input.section, "SATELLITE NAMES") && sameName(input.key, "POS60"))) {
        check(profile.readString(path, "SATELLITE NAMES", "POS60", "dflt", 256) == neighbour,
              "a write leaves other keys alone");
    }
    return 0;
}
