#include "store/settings_path.h"

namespace {

constexpr std::size_t REPLACED_SUFFIX_LENGTH = 3;

}  // namespace

std::string settingsPathFor(std::string_view modulePath) {
    // A renamed or extension-less module keeps the rule: exactly three characters go, so a
    // stored file is found again under the same derivation.
    const std::size_t kept = modulePath.size() >= REPLACED_SUFFIX_LENGTH
                                 ? modulePath.size() - REPLACED_SUFFIX_LENGTH
                                 : 0;
    std::string path(modulePath.substr(0, kept));
    path += "ini";
    return path;
}
