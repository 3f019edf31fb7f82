#include "tests/windows/win32_profile.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <vector>

std::string Win32Profile::readString(const std::string& path, std::string_view section,
                                     std::string_view key, std::string_view defaultValue,
                                     std::size_t capacity) noexcept {
    try {
        if (capacity == 0) return {};
        const DWORD size = static_cast<DWORD>(
            std::min<std::size_t>(capacity, (std::numeric_limits<DWORD>::max)()));
        const std::string sectionText(section);
        const std::string keyText(key);
        const std::string defaultText(defaultValue);
        std::vector<char> buffer(size, '\0');
        const DWORD length =
            GetPrivateProfileStringA(sectionText.c_str(), keyText.c_str(), defaultText.c_str(),
                                     buffer.data(), size, path.c_str());
        return std::string(buffer.data(), std::min<DWORD>(length, size - 1));
    } catch (...) {
        return {};
    }
}

void Win32Profile::writeString(const std::string& path, std::string_view section,
                               std::string_view key, std::string_view value) noexcept {
    try {
        const std::string sectionText(section);
        const std::string keyText(key);
        const std::string valueText(value);
        WritePrivateProfileStringA(sectionText.c_str(), keyText.c_str(), valueText.c_str(),
                                   path.c_str());
    } catch (...) {
    }
}
