#include "store/settings_path.h"

namespace {

constexpr std::size_t REPLACED_SUFFIX_LENGTH = 3;

bool isContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// How many bytes the UTF-8 sequence that `lead` begins takes; 0 for a byte
// that begins none.
std::size_t sequenceLength(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    if (byte < 0x80) return 1;
    if (byte >= 0xF8) return 0;
    if (byte >= 0xF0) return 4;
    if (byte >= 0xE0) return 3;
    if (byte >= 0xC0) return 2;
    return 0;
}

// Where the character that ends at `end` begins. A byte that is not part of
// a whole UTF-8 sequence counts as a character of its own.
std::size_t characterStart(std::string_view text, std::size_t end) {
    std::size_t start = end - 1;
    while (start > 0 && end - start < 4 && isContinuation(text[start])) --start;
    return sequenceLength(text[start]) == end - start ? start : end - 1;
}

}  // namespace

std::string settingsPathFor(std::string_view modulePath) {
    // A renamed or extension-less module keeps the rule: exactly three characters go, so a
    // stored file is found again under the same derivation. Characters, not bytes: a name
    // that ends in letters outside ASCII loses those letters whole.
    std::size_t kept = modulePath.size();
    for (std::size_t dropped = 0; dropped < REPLACED_SUFFIX_LENGTH && kept > 0; ++dropped)
        kept = characterStart(modulePath, kept);
    std::string path(modulePath.substr(0, kept));
    path += "ini";
    return path;
}
